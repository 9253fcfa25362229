#include "lookup/OpenLibraryReader.h"

#include "core/Trace.h"
#include "exchange/CslJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace folianto {
namespace {

// "Frank Herbert" as the record writes names: "Herbert, Frank".
QString FamilyFirst(const QString& name)
{
    const QString n = name.simplified();
    const int blank = n.lastIndexOf(QLatin1Char(' '));
    if (n.contains(QLatin1Char(',')) || blank <= 0)
        return n;
    return n.mid(blank + 1) + QStringLiteral(", ") + n.left(blank);
}

// The "name" of each object of the array.
std::vector<QString> Names(const QJsonValue& array)
{
    std::vector<QString> out;
    for (const QJsonValue& v : array.toArray()) {
        const QString name = v.isObject() ? v.toObject().value(QLatin1String("name")).toString() : v.toString();
        if (!name.trimmed().isEmpty())
            out.push_back(name);
    }
    return out;
}

Reference MapBook(const QJsonObject& book)
{
    Reference r;
    r.Typ = 0;
    for (const QString& name : Names(book.value(QLatin1String("authors"))))
        r.Authors.push_back(RecordText(FamilyFirst(name)));
    r.Title = RecordText(book.value(QLatin1String("title")).toString());
    r.Subtitle = RecordText(book.value(QLatin1String("subtitle")).toString());
    const std::vector<QString> publishers = Names(book.value(QLatin1String("publishers")));
    if (!publishers.empty())
        r.Publisher = RecordText(publishers.front());
    const std::vector<QString> places = Names(book.value(QLatin1String("publish_places")));
    if (!places.empty())
        r.Address = RecordText(places.front());
    // "2005", "March 2005", "2005-03-01": the year.
    const QString date = book.value(QLatin1String("publish_date")).toString();
    for (int i = 0; i + 4 <= date.size(); ++i) {
        const QString four = date.mid(i, 4);
        bool ok = false;
        four.toInt(&ok);
        if (ok && (i == 0 || !date[i - 1].isDigit()) && (i + 4 == date.size() || !date[i + 4].isDigit())) {
            r.Year = RecordText(four);
            break;
        }
    }
    const QJsonValue pages = book.value(QLatin1String("number_of_pages"));
    if (pages.isDouble() && pages.toDouble() >= 1 && pages.toDouble() < 1e6)
        r.PageCount = std::to_string(static_cast<long>(pages.toDouble()));
    for (const QString& subject : Names(book.value(QLatin1String("subjects")))) {
        std::string keyword = RecordText(subject);
        std::replace(keyword.begin(), keyword.end(), ';', ',');
        r.Keywords.push_back(keyword);
    }
    const QJsonObject ids = book.value(QLatin1String("identifiers")).toObject();
    for (const char* key : {"isbn_13", "isbn_10"}) {
        const QJsonArray list = ids.value(QLatin1String(key)).toArray();
        if (!list.isEmpty() && r.Isbn.empty())
            r.Isbn = RecordText(list.first().toString());
    }
    return r;
}

} // namespace

SourceAnswer ReadOpenLibraryAnswer(const std::string& bytes)
{
    TraceScope trace("OpenLibraryReader.ReadOpenLibraryAnswer");
    SourceAnswer answer;
    QJsonParseError error{};
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        answer.Reason = "Antwort ist kein JSON-Objekt";
        return answer;
    }
    const QJsonObject root = doc.object();
    for (auto it = root.begin(); it != root.end(); ++it) {
        if (!it.value().isObject())
            continue;
        Reference r = MapBook(it.value().toObject());
        if (!r.Title.empty())
            answer.Editions.push_back(std::move(r));
    }
    answer.kind = answer.Editions.empty() ? SourceAnswer::Kind::NotFound : SourceAnswer::Kind::Found;
    if (answer.Editions.empty() && !root.isEmpty()) {
        answer.kind = SourceAnswer::Kind::Failed;
        answer.Reason = "Antwort ohne lesbaren Titel";
    }
    return answer;
}

SourceAnswer ReadCslJsonAnswer(const std::string& bytes)
{
    TraceScope trace("OpenLibraryReader.ReadCslJsonAnswer");
    SourceAnswer answer;
    QJsonParseError error{};
    QJsonDocument::fromJson(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), &error);
    if (error.error != QJsonParseError::NoError) {
        answer.Reason = "Antwort ist kein CSL-JSON";
        return answer;
    }
    // Resolvers send decomposed text too: composed before it is read.
    ParsedReferences parsed = ParseCslJson(
        QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())).normalized(QString::NormalizationForm_C).toStdString());
    // Other JSON reads as items too, every member a note: only an item with
    // a title is one.
    for (Reference& r : parsed.References) {
        if (r.Title.empty())
            continue;
        r.Key.clear();
        answer.Editions.push_back(std::move(r));
    }
    if (answer.Editions.empty()) {
        answer.Reason = "Antwort ohne lesbaren Titel";
        return answer;
    }
    answer.kind = SourceAnswer::Kind::Found;
    return answer;
}

} // namespace folianto
