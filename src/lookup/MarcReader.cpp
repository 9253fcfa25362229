#include "lookup/MarcReader.h"

#include "core/Codec.h"
#include "core/Trace.h"
#include "exchange/CslJson.h"
#include "lookup/Identifier.h"

#include <QXmlStreamReader>

#include <algorithm>
#include <cstring>

namespace folianto {
namespace {

const QString kMarcNamespace = QStringLiteral("http://www.loc.gov/MARC21/slim");

struct MarcField {
    QString tag;
    QChar ind1, ind2;
    QString control; // control fields 001..009
    std::vector<std::pair<QChar, QString>> subfields;

    std::vector<QString> all(QChar code) const
    {
        std::vector<QString> out;
        for (const auto& [c, v] : subfields)
            if (c == code)
                out.push_back(v);
        return out;
    }
    QString first(QChar code) const
    {
        for (const auto& [c, v] : subfields)
            if (c == code)
                return v;
        return {};
    }
};

struct MarcRecord {
    std::vector<MarcField> fields;

    std::vector<const MarcField*> all(const char* tag) const
    {
        std::vector<const MarcField*> out;
        for (const MarcField& f : fields)
            if (f.tag == QLatin1String(tag))
                out.push_back(&f);
        return out;
    }
    const MarcField* first(const char* tag) const
    {
        for (const MarcField& f : fields)
            if (f.tag == QLatin1String(tag))
                return &f;
        return nullptr;
    }
};

// A subfield without the cataloguing punctuation at its end (" /", " :",
// " ;", " =", a final ",") and without the non-sorting marks.
QString Clean(QString s)
{
    s.remove(QChar(0x98));
    s.remove(QChar(0x9C));
    s = s.normalized(QString::NormalizationForm_C).simplified();
    for (bool cut = true; cut;) {
        cut = false;
        for (const char* end : {" /", " :", " ;", " ="})
            if (s.endsWith(QLatin1String(end))) {
                s.chop(2);
                cut = true;
            }
        if (s.endsWith(QLatin1Char(','))) {
            s.chop(1);
            cut = true;
        }
        s = s.trimmed();
    }
    return s;
}

std::string Text(const QString& s)
{
    return RecordText(Clean(s));
}

// The first field of `tag` with a subfield `code`, cleaned; empty when none.
QString FirstSub(const MarcRecord& rec, const char* tag, char code)
{
    for (const MarcField* f : rec.all(tag)) {
        const QString v = Clean(f->first(QLatin1Char(code)));
        if (!v.isEmpty())
            return v;
    }
    return {};
}

// The first run of four digits ("[2019]", "c2019", "2019.").
QString YearIn(const QString& s)
{
    int run = 0;
    for (int i = 0; i < s.size(); ++i) {
        run = s[i].isDigit() ? run + 1 : 0;
        if (run == 4 && (i + 1 == s.size() || !s[i + 1].isDigit()))
            return s.mid(i - 3, 4);
    }
    return {};
}

// "344 S." gives 344, "XII, 344 Seiten" gives "XII, 344"; a text without
// a page count gives nothing.
QString PagesIn(const QString& extent)
{
    for (const char* unit : {" S.", " S", " Seiten", " p.", " pages", " pp.", " Bl."}) {
        const int at = extent.indexOf(QLatin1String(unit));
        if (at > 0 && extent[at - 1].isDigit() &&
            (at + static_cast<int>(std::strlen(unit)) >= extent.size() ||
             !extent[at + static_cast<int>(std::strlen(unit))].isLetter()))
            return extent.left(at).trimmed();
    }
    return {};
}

// A place without "[u.a.]" and the brackets of a supplied place.
QString Place(QString place)
{
    for (const char* more : {"[u.a.]", "[u. a.]", "u.a.", "[et al.]", "[etc.]"})
        place.remove(QLatin1String(more), Qt::CaseInsensitive);
    place.remove(QLatin1Char('['));
    place.remove(QLatin1Char(']'));
    return Clean(place);
}

const std::pair<const char*, const char*> kMarcLanguages[] = {
    {"ger", "de"}, {"eng", "en"}, {"fre", "fr"}, {"lat", "la"}, {"ita", "it"}, {"spa", "es"}, {"dut", "nl"},
    {"por", "pt"}, {"rus", "ru"}, {"pol", "pl"}, {"cze", "cs"}, {"swe", "sv"}, {"dan", "da"}, {"nor", "nb"},
    {"fin", "fi"}, {"gre", "el"}, {"hun", "hu"}, {"tur", "tr"}, {"jpn", "ja"}, {"chi", "zh"},
};

std::string Language(const MarcRecord& rec)
{
    QString code = FirstSub(rec, "041", 'a').left(3);
    if (code.isEmpty())
        if (const MarcField* f = rec.first("008"))
            code = f->control.mid(35, 3);
    code = code.toLower();
    for (const auto& [marc, iso] : kMarcLanguages)
        if (code == QLatin1String(marc))
            return SpracheOfCslLanguage(iso);
    return {};
}

enum class Role { Author, Editor, Other };

Role RoleOf(const MarcField& f)
{
    bool any = false;
    for (const QString& code : f.all(QLatin1Char('4'))) {
        any = true;
        const QString c = code.trimmed().toLower();
        if (c == QLatin1String("aut"))
            return Role::Author;
        if (c == QLatin1String("edt"))
            return Role::Editor;
    }
    for (const QString& term : f.all(QLatin1Char('e'))) {
        any = true;
        const QString t = term.toLower();
        if (t.contains(QLatin1String("verf")) || t.contains(QLatin1String("author")) || t.contains(QLatin1String("autor")))
            return Role::Author;
        if (t.contains(QLatin1String("hrsg")) || t.contains(QLatin1String("herausgeber")) ||
            t.contains(QLatin1String("editor")) || t.startsWith(QLatin1String("ed.")))
            return Role::Editor;
    }
    return any ? Role::Other : Role::Author;
}

void AddOnce(std::vector<std::string>& list, const std::string& value)
{
    if (!value.empty() && std::find(list.begin(), list.end(), value) == list.end())
        list.push_back(value);
}

Reference MapRecord(const MarcRecord& rec)
{
    Reference r;
    r.Typ = 0;
    for (const char* tag : {"100", "700"})
        for (const MarcField* f : rec.all(tag)) {
            const std::string name = Text(f->first(QLatin1Char('a')));
            const Role role = RoleOf(*f);
            if (role == Role::Author)
                AddOnce(r.Authors, name);
            else if (role == Role::Editor)
                AddOnce(r.Editors, name);
        }
    if (const MarcField* f = rec.first("245")) {
        r.Title = Text(f->first(QLatin1Char('a')));
        r.Subtitle = Text(f->first(QLatin1Char('b')));
    }
    const int32_t edition = EditionNumber(Text(FirstSub(rec, "250", 'a')));
    if (edition > 0)
        r.Edition = std::to_string(edition);

    const MarcField* imprint = nullptr;
    for (const MarcField* f : rec.all("264"))
        if (f->ind2 == QLatin1Char('1')) {
            imprint = f;
            break;
        }
    if (!imprint)
        for (const MarcField* f : rec.all("264"))
            if (f->ind2 != QLatin1Char('4')) {
                imprint = f;
                break;
            }
    if (!imprint)
        imprint = rec.first("260");
    if (imprint) {
        r.Address = RecordText(Place(imprint->first(QLatin1Char('a'))));
        r.Publisher = Text(imprint->first(QLatin1Char('b')));
        r.Year = RecordText(YearIn(imprint->first(QLatin1Char('c'))));
    }
    if (r.Year.empty())
        if (const MarcField* f = rec.first("008"))
            r.Year = RecordText(YearIn(f->control.mid(7, 4)));
    r.PageCount = RecordText(PagesIn(FirstSub(rec, "300", 'a')));

    for (const char* tag : {"490", "830"}) {
        if (!r.Series.empty())
            break;
        if (const MarcField* f = rec.first(tag)) {
            r.Series = Text(f->first(QLatin1Char('a')));
            r.SeriesNumber = Text(f->first(QLatin1Char('v')));
        }
    }
    r.Language = Language(rec);
    for (const char* tag : {"689", "650"})
        for (const MarcField* f : rec.all(tag)) {
            std::string keyword = Text(f->first(QLatin1Char('a')));
            std::replace(keyword.begin(), keyword.end(), ';', ',');
            AddOnce(r.Keywords, keyword);
        }
    for (const MarcField* f : rec.all("856"))
        if (f->first(QLatin1Char('3')).contains(QLatin1String("Inhaltsverzeichnis"), Qt::CaseInsensitive) &&
            !f->first(QLatin1Char('u')).trimmed().isEmpty()) {
            r.Url = RecordText(f->first(QLatin1Char('u')).trimmed());
            break;
        }
    for (const MarcField* f : rec.all("020")) {
        const QString isbn = Clean(f->first(QLatin1Char('a'))).section(QLatin1Char(' '), 0, 0);
        if (!isbn.isEmpty()) {
            r.Isbn = RecordText(isbn);
            break;
        }
    }

    if (const MarcField* thesis = rec.first("502")) {
        // "Dissertation, Universität Wien, 2018" or the parts in $b, $c.
        r.Typ = 1;
        const QStringList parts = Clean(thesis->first(QLatin1Char('a'))).split(QLatin1Char(','));
        QString kind = Clean(thesis->first(QLatin1Char('b')));
        QString school = Clean(thesis->first(QLatin1Char('c')));
        if (kind.isEmpty() && !parts.isEmpty())
            kind = Clean(parts[0]);
        if (school.isEmpty() && parts.size() > 1)
            school = Clean(parts[1]);
        r.Genre = RecordText(kind);
        if (!school.isEmpty())
            r.Publisher = RecordText(school);
    } else if (r.Authors.empty() && !r.Editors.empty()) {
        r.Typ = 2;
    }
    return r;
}

QString Local(const QXmlStreamReader& xml)
{
    return xml.name().toString();
}

// Reads the MARC record whose start element the reader stands on.
MarcRecord ReadRecord(QXmlStreamReader& xml)
{
    MarcRecord rec;
    MarcField* field = nullptr;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        const QXmlStreamReader::TokenType t = xml.readNext();
        if (t == QXmlStreamReader::EndElement) {
            --depth;
            continue;
        }
        if (t != QXmlStreamReader::StartElement)
            continue;
        const QString name = Local(xml);
        const QXmlStreamAttributes a = xml.attributes();
        if (name == QLatin1String("controlfield")) {
            MarcField f;
            f.tag = a.value(QLatin1String("tag")).toString();
            f.control = xml.readElementText(QXmlStreamReader::SkipChildElements);
            rec.fields.push_back(std::move(f));
            field = nullptr;
        } else if (name == QLatin1String("datafield")) {
            MarcField f;
            f.tag = a.value(QLatin1String("tag")).toString();
            const QString ind1 = a.value(QLatin1String("ind1")).toString();
            const QString ind2 = a.value(QLatin1String("ind2")).toString();
            f.ind1 = ind1.isEmpty() ? QLatin1Char(' ') : ind1[0];
            f.ind2 = ind2.isEmpty() ? QLatin1Char(' ') : ind2[0];
            rec.fields.push_back(std::move(f));
            field = &rec.fields.back();
            ++depth;
        } else if (name == QLatin1String("subfield") && field) {
            const QString code = a.value(QLatin1String("code")).toString();
            const QString value = xml.readElementText(QXmlStreamReader::SkipChildElements);
            if (!code.isEmpty())
                field->subfields.emplace_back(code[0], value);
        } else if (name == QLatin1String("leader")) {
            xml.readElementText(QXmlStreamReader::SkipChildElements);
        } else {
            ++depth;
        }
    }
    return rec;
}

struct SruParse {
    bool sru = false;
    QString count;
    QStringList diagnostics;
    std::vector<MarcRecord> records;
    QStringList escaped; // records sent as escaped text, one per recordData
};

void ReadSru(const QByteArray& bytes, SruParse& out, bool inner)
{
    QXmlStreamReader xml(bytes);
    int recordData = 0; // depth inside recordData
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType t = xml.readNext();
        if (t == QXmlStreamReader::StartElement) {
            const QString name = Local(xml);
            if (!out.sru && !inner && name != QLatin1String("searchRetrieveResponse"))
                return;
            out.sru = true;
            if (recordData > 0 || inner) {
                if (name == QLatin1String("record")) {
                    out.records.push_back(ReadRecord(xml));
                    continue;
                }
                ++recordData;
            } else if (name == QLatin1String("recordData")) {
                recordData = 1;
                out.escaped << QString();
            } else if (name == QLatin1String("numberOfRecords")) {
                out.count = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
            } else if (name == QLatin1String("diagnostic")) {
                QString text;
                int depth = 1;
                while (depth > 0 && !xml.atEnd()) {
                    const auto u = xml.readNext();
                    if (u == QXmlStreamReader::StartElement) {
                        const QString part = Local(xml);
                        const QString value = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
                        if ((part == QLatin1String("message") || part == QLatin1String("details")) && !value.isEmpty())
                            text += (text.isEmpty() ? QString() : QStringLiteral(": ")) + value;
                    } else if (u == QXmlStreamReader::EndElement) {
                        --depth;
                    }
                }
                out.diagnostics << text;
            }
        } else if (t == QXmlStreamReader::EndElement) {
            if (recordData > 0)
                --recordData;
        } else if (t == QXmlStreamReader::Characters && recordData == 1 && !inner && !xml.isWhitespace()) {
            out.escaped.last() += xml.text();
        }
    }
    if (xml.hasError() && !inner)
        out.sru = out.sru && !out.records.empty();
}

} // namespace

std::string RecordText(const QString& text)
{
    QString s = text;
    s.remove(QChar(0x98));
    s.remove(QChar(0x9C));
    return ToCp1252(s.normalized(QString::NormalizationForm_C).simplified());
}

SourceAnswer ReadSruMarcAnswer(const std::string& bytes)
{
    TraceScope trace("MarcReader.ReadSruMarcAnswer");
    SruParse parse;
    ReadSru(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), parse, false);
    for (const QString& record : std::as_const(parse.escaped)) // each a document of its own
        if (!record.isEmpty())
            ReadSru(record.toUtf8(), parse, true);
    SourceAnswer answer;
    if (!parse.sru) {
        answer.Reason = "Antwort ist keine SRU-Antwort";
        return answer;
    }
    if (!parse.diagnostics.isEmpty()) {
        answer.Reason = "SRU-Diagnose: " + RecordText(parse.diagnostics.join(QStringLiteral("; ")));
        return answer;
    }
    for (const MarcRecord& rec : parse.records) {
        Reference r = MapRecord(rec);
        if (!r.Title.empty() || !r.Authors.empty() || !r.Editors.empty())
            answer.Editions.push_back(std::move(r));
    }
    if (!answer.Editions.empty()) {
        answer.kind = SourceAnswer::Kind::Found;
        return answer;
    }
    if (parse.records.empty() && (parse.count.isEmpty() || parse.count == QLatin1String("0"))) {
        answer.kind = SourceAnswer::Kind::NotFound;
        return answer;
    }
    answer.Reason = "Antwort ohne lesbaren MARC-21-Datensatz";
    return answer;
}

} // namespace folianto
