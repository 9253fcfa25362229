#include "exchange/CslJson.h"

#include "core/Buch.h"
#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "core/UserInteraction.h"
#include "exchange/DateText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <map>
#include <set>

namespace folianto {
namespace {

QString Q(const std::string& cp1252)
{
    return FromCp1252(cp1252);
}

// German language names and their codes; the first name of a code is the one
// an import writes.
struct LanguageName {
    const char* name; // UTF-8, lower case
    const char* code;
};
constexpr LanguageName kLanguages[] = {
    {"deutsch", "de"},     {"englisch", "en"},   {"französisch", "fr"}, {"lateinisch", "la"},
    {"italienisch", "it"}, {"spanisch", "es"},   {"niederländisch", "nl"}, {"portugiesisch", "pt"},
    {"russisch", "ru"},    {"polnisch", "pl"},   {"tschechisch", "cs"}, {"schwedisch", "sv"},
    {"dänisch", "da"},     {"norwegisch", "nb"}, {"finnisch", "fi"},    {"griechisch", "el"},
    {"ungarisch", "hu"},   {"türkisch", "tr"},   {"japanisch", "ja"},   {"chinesisch", "zh"},
    {"latein", "la"},      {"german", "de"},     {"english", "en"},     {"french", "fr"},
};

// "o. J.", "n.d.": the style prints its own term for a missing date.
bool SaysNoDate(const std::string& year)
{
    const std::string t = UpperAscii(RemoveAllBlanks(year));
    return t.empty() || t == "O.J." || t == "N.D." || t == "S.A." || t == "OHNEJAHR";
}

QJsonObject DateOf(const std::string& year, bool forCiteproc)
{
    const IssuedDate d = ParseIssuedDate(year);
    QJsonObject date;
    if (d.isDate()) {
        QJsonArray parts;
        for (const DateParts& p : d.Parts) {
            QJsonArray ymd{p.Year};
            if (p.Month > 0)
                ymd.append(p.Month);
            if (p.Day > 0)
                ymd.append(p.Day);
            parts.append(ymd);
        }
        date[QLatin1String("date-parts")] = parts;
        if (d.Circa)
            date[QLatin1String("circa")] = true;
    } else if (!(forCiteproc && SaysNoDate(year))) {
        date[QLatin1String("literal")] = Q(year);
    }
    return date;
}

// "Family, Given[, Suffix]"; a name without a comma is one word (a family
// name) or the name of a body, taken literally.
QJsonObject NameOf(const std::string& name)
{
    QJsonObject out;
    const std::vector<std::string> parts = SplitListText(name, ',');
    if (parts.size() >= 2 && name.find(',') != std::string::npos) {
        out[QLatin1String("family")] = Q(parts[0]);
        out[QLatin1String("given")] = Q(parts[1]);
        if (parts.size() > 2) {
            std::vector<std::string> rest(parts.begin() + 2, parts.end());
            out[QLatin1String("suffix")] = Q(JoinListText(rest, ", "));
        }
    } else if (name.find(' ') == std::string::npos && name.find(',') == std::string::npos) {
        out[QLatin1String("family")] = Q(name);
    } else {
        out[QLatin1String("literal")] = Q(name);
    }
    return out;
}

QJsonArray NamesOf(const std::vector<std::string>& names)
{
    QJsonArray out;
    for (const std::string& n : names)
        out.append(NameOf(n));
    return out;
}

// "S. 12-45" -> "12-45", "345 S." -> "345": the style writes its own label.
std::string PagesForCiteproc(const std::string& pages)
{
    std::string p = pages;
    if (p.compare(0, 2, "S.") == 0)
        p = p.substr(2);
    if (p.size() >= 2 && p.compare(p.size() - 2, 2, "S.") == 0)
        p.resize(p.size() - 2);
    return CollapseBlanks(p);
}

bool IsWebAddress(const std::string& url)
{
    const std::string upper = UpperAscii(url);
    return upper.rfind("HTTP://", 0) == 0 || upper.rfind("HTTPS://", 0) == 0;
}

QJsonObject ItemOf(const Reference& r, const std::string& id, bool forCiteproc)
{
    QJsonObject item;
    const auto set = [&item](const char* key, const std::string& cp1252) {
        if (!cp1252.empty())
            item[QLatin1String(key)] = Q(cp1252);
    };
    item[QLatin1String("id")] = Q(id);
    item[QLatin1String("type")] = QString::fromLatin1(CslType(r.Typ, r.Medium).c_str());
    if (!r.Authors.empty())
        item[QLatin1String("author")] = NamesOf(r.Authors);
    if (!r.Editors.empty())
        item[QLatin1String("editor")] = NamesOf(r.Editors);
    // CSL has no subtitle: it joins the title as reference managers write it.
    set("title", r.Subtitle.empty() ? r.Title : r.Title.empty() ? r.Subtitle : r.Title + ": " + r.Subtitle);
    set("original-title", r.OrigTitle);
    set("container-title", r.Container);
    set("collection-title", r.Series);
    set("collection-number", r.SeriesNumber);
    set("genre", r.Genre);
    set("volume", r.Volume);
    set("issue", r.Issue);
    set("number", r.Number);
    set("page", forCiteproc ? PagesForCiteproc(r.Pages) : r.Pages);
    set("number-of-pages", forCiteproc ? PagesForCiteproc(r.PageCount) : r.PageCount);
    const QJsonObject issued = DateOf(r.Year, forCiteproc);
    if (!issued.isEmpty())
        item[QLatin1String("issued")] = issued;
    set("publisher", r.Publisher);
    set("publisher-place", r.Address);
    // A first edition is not cited as one.
    set("edition", forCiteproc && r.Edition == "1" ? std::string() : r.Edition);
    set("ISBN", r.Isbn);
    set("ISSN", r.Issn);
    set("medium", r.Medium);
    set("dimensions", r.Extent);
    const std::string language = CslLanguage(r.Language);
    set("language", forCiteproc && language.empty() ? std::string("de") : language);
    if (forCiteproc) {
        if (IsWebAddress(r.Url))
            set("URL", r.Url);
        return item;
    }
    set("URL", r.Url);
    set("abstract", r.Abstract);
    set("note", r.Note);
    bool commas = false;
    for (const std::string& k : r.Keywords)
        commas = commas || k.find(',') != std::string::npos;
    set("keyword", JoinListText(r.Keywords, commas ? "; " : ", "));
    if (!r.Subtitle.empty() || r.Typ == 2) {
        QJsonObject custom;
        if (!r.Subtitle.empty())
            custom[QLatin1String("subtitle")] = Q(r.Subtitle);
        custom[QLatin1String("folianto-type")] = Q(TypNumToName(r.Typ));
        item[QLatin1String("custom")] = custom;
    }
    return item;
}

std::string Serialised(const QJsonArray& items, bool crlf)
{
    const QByteArray json = QJsonDocument(items).toJson(crlf ? QJsonDocument::Indented : QJsonDocument::Compact);
    std::string out(json.constData(), static_cast<std::size_t>(json.size()));
    if (!crlf)
        return out;
    // Line breaks inside values are escaped, so every raw LF ends a line.
    std::string lines;
    lines.reserve(out.size() + out.size() / 16);
    for (char c : out) {
        if (c == '\n')
            lines += '\r';
        lines += c;
    }
    return lines;
}

// ---- import ----

// Line numbers of the array's elements, found by a scan that skips strings.
std::vector<int> ElementLines(const std::string& text)
{
    std::vector<int> lines;
    int line = 1;
    int depth = 0;
    bool inString = false;
    bool expectElement = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n')
            ++line;
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
            continue;
        }
        const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (depth == 1 && expectElement && !blank) {
            lines.push_back(line);
            expectElement = false;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth == 1)
                expectElement = true;
        } else if (c == ']' || c == '}') {
            --depth;
        } else if (c == ',' && depth == 1) {
            expectElement = true;
        }
    }
    return lines;
}

int LineOfOffset(const std::string& text, int offset)
{
    int line = 1;
    for (int i = 0; i < offset && i < static_cast<int>(text.size()); ++i)
        line += text[static_cast<std::size_t>(i)] == '\n';
    return line;
}

std::string NumberText(double value)
{
    return QString::number(value, 'g', 15).toStdString();
}

// The date parts of a date; numbers may come as strings.
std::vector<std::vector<int>> DatePartsOf(const QJsonObject& date)
{
    std::vector<std::vector<int>> parts;
    for (const QJsonValue& p : date.value(QLatin1String("date-parts")).toArray()) {
        std::vector<int> ymd;
        for (const QJsonValue& n : p.toArray())
            ymd.push_back(n.isString() ? n.toString().toInt() : n.toInt());
        if (!ymd.empty() && ymd[0] != 0)
            parts.push_back(ymd);
    }
    return parts;
}

// Date parts as ISO dates, a span joined by "/".
std::string DatePartsText(const std::vector<std::vector<int>>& parts)
    {
        std::string out;
        for (const std::vector<int>& ymd : parts) {
            if (!out.empty())
                out += "/";
            for (std::size_t i = 0; i < ymd.size() && i < 3; ++i) {
                const std::string n = IntToStr(ymd[i]);
                out += (i ? "-" : "") + (i && n.size() < 2 ? "0" + n : n);
            }
        }
        return out;
    }


class ItemReader {
public:
    ItemReader(const QJsonObject& item, std::vector<ImportProblem>& problems, int line)
        : item_(item), problems_(problems), line_(line)
    {
    }

    Reference read()
    {
        Reference r;
        r.Line = line_;
        r.Key = text("id");
        const QJsonObject custom = take("custom").toObject();
        r.Authors = names("author");
        r.Editors = names("editor");
        const std::string type = Utf8ToCp1252(take("type").toString().toStdString());
        r.Typ = TypOfCslType(type, !r.Authors.empty(), !r.Editors.empty());
        const int32_t kept = TypNameToNum(decode(custom.value(QLatin1String("folianto-type")).toString())) & ~LinkFlag;
        if (custom.contains(QLatin1String("folianto-type")) && kept != 8)
            r.Typ = kept;
        else if (r.Typ == 8 && !type.empty() && type != "document")
            note("type", type);
        r.Title = text("title");
        r.Subtitle = CollapseBlanks(decode(custom.value(QLatin1String("subtitle")).toString()));
        // The subtitle this program joined to the title comes off again.
        const std::string joined = ": " + r.Subtitle;
        if (!r.Subtitle.empty() && r.Title.size() > joined.size() &&
            r.Title.compare(r.Title.size() - joined.size(), joined.size(), joined) == 0)
            r.Title.resize(r.Title.size() - joined.size());
        else if (r.Title == r.Subtitle)
            r.Title.clear();
        r.OrigTitle = text("original-title");
        r.Container = text("container-title");
        r.Series = text("collection-title");
        r.SeriesNumber = text("collection-number");
        r.Genre = text("genre");
        r.Volume = text("volume");
        r.Issue = text("issue");
        r.Number = text("number");
        r.Pages = text("page");
        r.PageCount = text("number-of-pages");
        readIssued(r);
        r.Publisher = text("publisher");
        r.Address = text("publisher-place");
        const std::string edition = text("edition");
        if (const int32_t n = EditionNumber(edition); n > 0)
            r.Edition = IntToStr(n);
        else if (!edition.empty())
            note("edition", edition);
        r.Isbn = text("ISBN");
        r.Issn = text("ISSN");
        r.Medium = text("medium");
        r.Extent = text("dimensions");
        r.Language = SpracheOfCslLanguage(text("language"));
        r.Url = text("URL");
        r.Abstract = NormaliseLineBreaks(decode(take("abstract").toString()));
        r.Note = NormaliseLineBreaks(decode(take("note").toString()));
        const std::string keywords = text("keyword");
        r.Keywords = SplitListText(keywords, keywords.find(';') != std::string::npos ? ';' : ',');
        for (auto it = custom.begin(); it != custom.end(); ++it)
            if (it.key() != QLatin1String("folianto-type") && it.key() != QLatin1String("subtitle"))
                notes_.emplace_back(decode(it.key()), ValueText(it.value()));
        // What has no field of its own stays in the remark.
        for (auto it = item_.begin(); it != item_.end(); ++it)
            if (!taken_.count(it.key()))
                notes_.emplace_back(decode(it.key()), ValueText(it.value()));
        for (const auto& [key, value] : notes_)
            if (!value.empty())
                r.Note += (r.Note.empty() ? "" : "\r\n") + key + ": " + value;
        return r;
    }

private:
    QJsonValue take(const char* key)
    {
        taken_.insert(QLatin1String(key));
        return item_.value(QLatin1String(key));
    }
    std::string decode(const QString& text)
    {
        return ToCp1252(text);
    }
    std::string ValueText(const QJsonValue& v)
    {
        if (v.isString())
            return NormaliseLineBreaks(decode(v.toString()));
        if (v.isDouble())
            return NumberText(v.toDouble());
        if (v.isBool())
            return v.toBool() ? "true" : "false";
        if (v.isObject() && v.toObject().contains(QLatin1String("date-parts")))
            return DatePartsText(DatePartsOf(v.toObject()));
        if (v.isArray() || v.isObject()) {
            const QJsonDocument doc = v.isArray() ? QJsonDocument(v.toArray()) : QJsonDocument(v.toObject());
            return decode(QString::fromUtf8(doc.toJson(QJsonDocument::Compact)));
        }
        return {};
    }
    // Strings and numbers alike ("volume": 12).
    std::string text(const char* key)
    {
        if (taken_.count(QLatin1String(key)) || !item_.contains(QLatin1String(key)))
            return {};
        const QJsonValue v = take(key);
        if (v.isArray() || v.isObject()) {
            note(key, ValueText(v));
            return {};
        }
        return CollapseBlanks(ValueText(v));
    }
    void note(const char* key, const std::string& value) { notes_.emplace_back(key, value); }

    std::string nameText(const QJsonValue& v)
    {
        if (v.isString())
            return CollapseBlanks(decode(v.toString()));
        const QJsonObject n = v.toObject();
        const auto part = [&](const char* key) { return CollapseBlanks(decode(n.value(QLatin1String(key)).toString())); };
        if (n.contains(QLatin1String("literal")))
            return part("literal");
        std::string family = part("family");
        const std::string particle = part("non-dropping-particle");
        if (!particle.empty())
            family = particle + (particle.back() == '\'' || particle.back() == '-' ? "" : " ") + family;
        std::string given = part("given");
        const std::string dropping = part("dropping-particle");
        if (!dropping.empty())
            given += (given.empty() ? "" : " ") + dropping;
        std::string name = family;
        if (!given.empty())
            name += (name.empty() ? "" : ", ") + given;
        const std::string suffix = part("suffix");
        if (!suffix.empty())
            name += ", " + suffix;
        return name;
    }
    std::vector<std::string> names(const char* key)
    {
        std::vector<std::string> out;
        const QJsonValue v = take(key);
        const QJsonArray list = v.isArray() ? v.toArray() : QJsonArray{v};
        for (const QJsonValue& n : list) {
            std::string name = n.isUndefined() || n.isNull() ? std::string() : nameText(n);
            if (!name.empty())
                out.push_back(std::move(name));
        }
        return out;
    }

    // The date in the German form the editor shows.
    void readIssued(Reference& r)
    {
        const QJsonValue v = take("issued");
        const auto fromText = [](const std::string& text) {
            const IssuedDate d = ParseIssuedDate(text);
            return d.isDate() ? IssuedDateText(d) : text;
        };
        if (v.isString() || v.isDouble()) {
            r.Year = fromText(CollapseBlanks(ValueText(v)));
            return;
        }
        const QJsonObject date = v.toObject();
        const std::string literal = CollapseBlanks(decode(date.value(QLatin1String("literal")).toString()));
        const std::string raw = CollapseBlanks(decode(date.value(QLatin1String("raw")).toString()));
        IssuedDate parsed;
        for (const std::vector<int>& ymd : DatePartsOf(date)) {
            if (parsed.Parts.size() == 2)
                break;
            DateParts p;
            p.Year = ymd[0];
            p.Month = ymd.size() > 1 && ymd[1] >= 1 && ymd[1] <= 12 ? ymd[1] : 0;
            p.Day = p.Month > 0 && ymd.size() > 2 && ymd[2] >= 1 && ymd[2] <= 31 ? ymd[2] : 0;
            parsed.Parts.push_back(p);
        }
        const QJsonValue circa = date.value(QLatin1String("circa"));
        parsed.Circa = circa.toBool() || (circa.isString() && !circa.toString().isEmpty()) || circa.toInt() != 0;
        if (!literal.empty())
            r.Year = literal;
        else if (parsed.isDate())
            r.Year = IssuedDateText(parsed);
        else if (!raw.empty())
            r.Year = fromText(raw);
    }
    const QJsonObject& item_;
    std::vector<ImportProblem>& problems_;
    int line_;
    std::set<QString> taken_;
    std::vector<std::pair<std::string, std::string>> notes_;
};

} // namespace

std::string CslType(int32_t typ, const std::string& medium)
{
    switch (typ) {
    case 0:
    case 2: return "book";
    case 1: return "thesis";
    case 3: return "chapter";
    case 4: return "article-journal";
    case 5: return "article-newspaper";
    case 6: {
        const std::string upper = UpperAscii(medium);
        const bool sound = upper.find("AUDIO") != std::string::npos || upper.find("MP3") != std::string::npos ||
                           upper.find("SCHALLPLATTE") != std::string::npos;
        return sound ? "song" : "motion_picture";
    }
    case 7: return "report";
    default: return "document";
    }
}

int32_t TypOfCslType(const std::string& type, bool hasAuthors, bool hasEditors)
{
    static const std::map<std::string, int32_t> types = {
        {"book", 0},
        {"classic", 0},
        {"thesis", 1},
        {"collection", 2},
        {"chapter", 3},
        {"paper-conference", 3},
        {"entry", 3},
        {"entry-dictionary", 3},
        {"entry-encyclopedia", 3},
        {"article-journal", 4},
        {"article", 4},
        {"review", 4},
        {"review-book", 4},
        {"article-magazine", 5},
        {"article-newspaper", 5},
        {"motion_picture", 6},
        {"broadcast", 6},
        {"song", 6},
        {"graphic", 6},
        {"map", 6},
        {"musical_score", 6},
        {"performance", 6},
        {"interview", 6},
        {"webpage", 6},
        {"post", 6},
        {"post-weblog", 6},
        {"software", 6},
        {"dataset", 6},
        {"figure", 6},
        {"report", 7},
        {"pamphlet", 7},
        {"manuscript", 7},
        {"standard", 7},
        {"patent", 7},
        {"speech", 7},
        {"legislation", 7},
        {"bill", 7},
        {"legal_case", 7},
        {"regulation", 7},
        {"treaty", 7},
        {"hearing", 7},
    };
    const auto it = types.find(type);
    if (it == types.end())
        return 8;
    return it->second == 0 && hasEditors && !hasAuthors ? 2 : it->second;
}

std::string CslLanguage(const std::string& sprache)
{
    const std::string lower = FromCp1252(CollapseBlanks(sprache)).toLower().toStdString();
    for (const LanguageName& l : kLanguages)
        if (lower == l.name)
            return l.code;
    return CollapseBlanks(sprache);
}

std::string SpracheOfCslLanguage(const std::string& language)
{
    // "de", "de-DE", "de_AT" all name German.
    std::string code = language.substr(0, language.find_first_of("-_"));
    for (char& c : code)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    for (const LanguageName& l : kLanguages)
        if (code == l.code)
            return Cp1252(l.name);
    return language;
}

std::string WriteCslJson(const std::vector<Reference>& references)
{
    TraceScope trace("CslJson.WriteCslJson");
    QJsonArray items;
    std::set<std::string> used;
    int n = 0;
    for (const Reference& r : references) {
        ++n;
        // Citation processors need unique ids.
        std::string id = r.Key.empty() ? "titel" + IntToStr(n) : r.Key;
        for (int k = 2; !used.insert(id).second; ++k)
            id = (r.Key.empty() ? "titel" + IntToStr(n) : r.Key) + "_" + IntToStr(k);
        items.append(ItemOf(r, id, false));
    }
    return Serialised(items, true);
}

std::string WriteCslJsonForCiteproc(const std::vector<Reference>& references)
{
    TraceScope trace("CslJson.WriteCslJsonForCiteproc");
    // Entries a style sorts alike (same authors, year and title) keep the
    // order of their ids: ids numbered in the order of the short keys give
    // the order a citation processor gives the same titles from a .bib file.
    std::vector<std::size_t> byKey(references.size());
    for (std::size_t i = 0; i < byKey.size(); ++i)
        byKey[i] = i;
    std::stable_sort(byKey.begin(), byKey.end(), [&](std::size_t a, std::size_t b) {
        return Cp1252ToUtf8(references[a].Key) < Cp1252ToUtf8(references[b].Key);
    });
    const std::size_t width = IntToStr(static_cast<long long>(references.size())).size();
    std::vector<std::string> ids(references.size());
    for (std::size_t rank = 0; rank < byKey.size(); ++rank) {
        const std::string number = IntToStr(static_cast<long long>(rank + 1));
        ids[byKey[rank]] = "r" + std::string(width - number.size(), '0') + number;
    }
    QJsonArray items;
    for (std::size_t i = 0; i < references.size(); ++i)
        items.append(ItemOf(references[i], ids[i], true));
    return Serialised(items, false);
}

ParsedReferences ParseCslJson(const std::string& bytes)
{
    TraceScope trace("CslJson.ParseCslJson");
    const std::string text = ImportTextAsUtf8(bytes);
    ParsedReferences parsed;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromRawData(text.data(), static_cast<int>(text.size())), &error);
    if (doc.isNull()) {
        parsed.Problems.push_back({LineOfOffset(text, error.offset), 0,
                                   Cp1252("keine gültige CSL-JSON-Datei: ") + Utf8ToCp1252(error.errorString().toStdString()),
                                   true});
        return parsed;
    }
    const QJsonArray items = doc.isArray() ? doc.array() : QJsonArray{doc.object()};
    const std::vector<int> lines = doc.isArray() ? ElementLines(text) : std::vector<int>{1};
    for (int i = 0; i < items.size(); ++i) {
        const int line = static_cast<std::size_t>(i) < lines.size() ? lines[static_cast<std::size_t>(i)] : 1;
        const QJsonValue value = items.at(i);
        if (!value.isObject()) {
            parsed.Problems.push_back({line, 0, Cp1252("Eintrag ist kein JSON-Objekt, nicht übernommen"), true});
            continue;
        }
        const QJsonObject item = value.toObject();
        bool content = false; // anything beside the id and the type
        for (auto it = item.begin(); it != item.end() && !content; ++it)
            content = it.key() != QLatin1String("id") && it.key() != QLatin1String("type");
        Reference r = ItemReader(item, parsed.Problems, line).read();
        if (!content) {
            parsed.Problems.push_back({line, 0,
                                       Cp1252("Eintrag „") + r.Key + Cp1252("“ ohne Angaben, nicht übernommen"),
                                       true});
            continue;
        }
        parsed.References.push_back(std::move(r));
    }
    return parsed;
}

bool ExportToCslJson(Workspace& ws)
{
    TraceScope trace("CslJson.ExportToCslJson");
    FileDialogSpec dialog;
    dialog.filter = "CSL-JSON-Dateien (*.json)|*.json;*.JSON|Alle Dateien (*.*)|*.*";
    dialog.defaultExt = "json";
    dialog.initialPath = "*.json";
    return ExportReferenceCommand(ws, dialog, WriteCslJson);
}

ReferenceImportResult ImportFromCslJson(Workspace& ws)
{
    TraceScope trace("CslJson.ImportFromCslJson");
    FileDialogSpec dialog;
    dialog.filter = "CSL-JSON-Dateien (*.json)|*.json|Alle Dateien (*)|*";
    dialog.defaultExt = "json";
    dialog.mustExist = true;
    return ImportReferenceCommand(ws, dialog, ParseCslJson);
}

} // namespace folianto
