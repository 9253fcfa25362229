#include "exchange/BibTexImport.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "core/UserInteraction.h"
#include "exchange/BtParseAdapter.h"
#include "exchange/DateText.h"
#include "exchange/LatexText.h"

#include <QDate>
#include <QRegularExpression>

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

namespace folianto {
namespace {

bool OneOf(const std::string& s, std::initializer_list<const char*> names)
{
    for (const char* n : names)
        if (s == n)
            return true;
    return false;
}

// Inherits the fields an entry lacks from the entry its crossref names; the
// parent's title becomes the book title.
void ResolveCrossrefs(std::vector<BibEntry>& entries, std::vector<ImportProblem>& problems)
{
    const auto crossrefOf = [](const BibEntry& e) {
        for (const auto& [name, value] : e.Fields)
            if (name == "crossref")
                return value;
        return std::string();
    };
    std::vector<std::size_t> children;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (!crossrefOf(entries[i]).empty())
            children.push_back(i);
    if (children.empty())
        return;
    std::unordered_map<std::string, std::size_t> byKey;
    for (std::size_t i = 0; i < entries.size(); ++i)
        byKey.emplace(UpperAscii(entries[i].Key), i);
    // Parents as written, before they inherit anything themselves.
    std::unordered_map<std::size_t, std::vector<std::pair<std::string, std::string>>> parents;
    for (std::size_t child : children)
        if (const auto it = byKey.find(UpperAscii(crossrefOf(entries[child]))); it != byKey.end())
            parents.emplace(it->second, entries[it->second].Fields);
    for (std::size_t child : children) {
        BibEntry& e = entries[child];
        const std::string target = crossrefOf(e);
        const auto it = byKey.find(UpperAscii(target));
        if (it == byKey.end()) {
            problems.push_back({e.Line, 0,
                                Cp1252("Querverweis „") + Utf8ToCp1252(target) +
                                    Cp1252("“ nicht gefunden; der Eintrag wurde ohne ihn übernommen"),
                                false});
            continue;
        }
        std::set<std::string> present;
        for (const auto& field : e.Fields)
            present.insert(field.first);
        for (const auto& [name, value] : parents[it->second]) {
            const std::string inherited = name == "title" ? "booktitle" : name;
            if (name != "crossref" && present.insert(inherited).second)
                e.Fields.emplace_back(inherited, value);
        }
    }
}

// Turns one entry into a reference; every field used is marked, the rest
// ends up in the remark.
class EntryReader {
public:
    EntryReader(BibEntry& entry, const std::vector<LatexMacro>& macros)
        : entry_(entry), macros_(macros), taken_(entry.Fields.size(), false)
    {
    }

    Reference read(std::vector<ImportProblem>& problems)
    {
        Reference r;
        r.Line = entry_.Line;
        const std::string type = entry_.Type;
        r.Typ = TypOfBibTexEntry(type, has("editor"), UpperAscii(peek("entrysubtype")));
        take("entrysubtype");
        take("crossref");
        r.Key = CollapseBlanks(Utf8ToCp1252(entry_.Key));
        r.Authors = names("author");
        r.Editors = names("editor");
        r.Title = text("title");
        r.Subtitle = text("subtitle");
        readDate(r);
        switch (r.Typ) {
        case 1:
            r.Genre = text("type");
            if (r.Genre.empty() && type == "mastersthesis")
                r.Genre = "Masterarbeit";
            break;
        case 3: r.Container = text("booktitle"); break;
        case 4:
        case 5: r.Container = has("journal") ? text("journal") : text("journaltitle"); break;
        default: break;
        }
        r.Series = text("series");
        for (const char* name : {"publisher", "school", "institution", "organization", "howpublished"})
            if (r.Publisher.empty() && has(name))
                r.Publisher = text(name);
        r.Address = has("address") ? text("address") : text("location");
        r.Volume = text("volume");
        // "number" is a journal's issue, a book's number in its series, or a report's number.
        const std::string number = text("number");
        (r.Typ == 4 || r.Typ == 5 ? r.Issue : !r.Series.empty() ? r.SeriesNumber : r.Number) = number;
        if (r.Issue.empty())
            r.Issue = text("issue");
        if (const int i = find("pages"); i >= 0) {
            std::string& pages = entry_.Fields[static_cast<std::size_t>(i)].second;
            for (std::size_t p; (p = pages.find("--")) != std::string::npos;)
                pages.erase(p, 1);
            r.Pages = text("pages");
        }
        r.PageCount = text("pagetotal");
        if (const int32_t edition = EditionNumber(decodedPeek("edition")); edition > 0) {
            take("edition");
            r.Edition = IntToStr(edition);
        }
        r.Isbn = text("isbn");
        r.Issn = text("issn");
        r.Language = text("language");
        for (std::string& k : SplitListText(text("keywords"), ','))
            for (std::string& part : SplitListText(k, ';'))
                r.Keywords.push_back(std::move(part));
        r.Abstract = multiLine("abstract");
        r.Note = multiLine("note");
        r.Url = CollapseBlanks(Utf8ToCp1252(take("url")));
        // What has no field of its own stays in the remark.
        // A repeated field is not lost either: its later values land here too.
        for (std::size_t i = 0; i < entry_.Fields.size(); ++i)
            if (!taken_[i])
                appendToNote(r, entry_.Fields[i].first, entry_.Fields[i].second);
        NoteKept(problems, entry_.Line, kept_);
        return r;
    }

private:
    // The first field of that name not yet used, or -1. Entries have a
    // dozen fields or so: a scan beats any map.
    int find(const std::string& name) const
    {
        for (std::size_t i = 0; i < entry_.Fields.size(); ++i)
            if (!taken_[i] && entry_.Fields[i].first == name)
                return static_cast<int>(i);
        return -1;
    }
    bool has(const std::string& name) const { return find(name) >= 0; }
    std::string peek(const std::string& name) const
    {
        const int i = find(name);
        return i < 0 ? std::string() : entry_.Fields[static_cast<std::size_t>(i)].second;
    }
    std::string take(const std::string& name)
    {
        const int i = find(name);
        if (i < 0)
            return {};
        taken_[static_cast<std::size_t>(i)] = true;
        return std::move(entry_.Fields[static_cast<std::size_t>(i)].second);
    }
    std::string decodedPeek(const std::string& name) { return CollapseBlanks(LatexDecode(peek(name), macros_).Text); }
    // The date: biblatex's "date", else "year" with "month" and "day". The
    // month joins the date of an article, a film, a report (a book's, a
    // thesis's and a chapter's date is the year of the edition).
    void readDate(Reference& r)
    {
        IssuedDate date;
        if (has("date")) {
            std::string iso; // EDTF: "~" is "circa", not a blank
            for (char c : take("date"))
                if (c != '{' && c != '}' && c != ' ')
                    iso += c;
            date = ParseIssuedDate(iso);
            if (!iso.empty() && (iso.back() == '~' || iso.back() == '?')) {
                iso.pop_back();
                date = ParseIssuedDate(iso);
                date.Circa = date.isDate();
            }
            if (date.isDate()) {
                take("year");
                take("month");
                take("day");
                r.Year = IssuedDateText(date);
                return;
            }
            r.Year = date.Literal;
            return;
        }
        r.Year = text("year");
        date = ParseIssuedDate(r.Year);
        if (!date.isDate() || date.Parts.size() != 1 || date.Parts[0].Month != 0 || r.Typ <= 3)
            return;
        const std::string monthText = decodedPeek("month");
        const int month = LeadingNumber(monthText) > 0 ? LeadingNumber(monthText) : MonthOfName(monthText);
        if (month < 1 || month > 12)
            return;
        take("month");
        date.Parts[0].Month = month;
        const int day = LeadingNumber(decodedPeek("day"));
        if (day >= 1 && day <= 31 && QDate(date.Parts[0].Year, month, day).isValid()) {
            take("day");
            date.Parts[0].Day = day;
        }
        r.Year = IssuedDateText(date);
    }
    std::string decode(const std::string& raw)
    {
        LatexDecoded d = LatexDecode(raw, macros_);
        kept_.insert(kept_.end(), d.Kept.begin(), d.Kept.end());
        return std::move(d.Text);
    }
    std::string text(const std::string& name) { return CollapseBlanks(decode(take(name))); }
    std::string multiLine(const std::string& name) { return NormaliseLineBreaks(decode(take(name))); }
    std::vector<std::string> names(const std::string& name)
    {
        std::vector<std::string> out;
        if (!has(name))
            return out;
        for (const std::string& raw : SplitBibNames(take(name))) {
            std::string decoded = CollapseBlanks(decode(raw));
            if (!decoded.empty())
                out.push_back(std::move(decoded));
        }
        return out;
    }
    void appendToNote(Reference& r, const std::string& name, const std::string& raw)
    {
        const std::string value = NormaliseLineBreaks(decode(raw));
        if (value.empty())
            return;
        r.Note += (r.Note.empty() ? "" : "\r\n") + name + ": " + value;
    }

    BibEntry& entry_;
    const std::vector<LatexMacro>& macros_;
    std::vector<bool> taken_;
    std::vector<std::string> kept_;
};

// The commands a file's @preamble defines, such as the sorting idiom
// "\newcommand{\noopsort}[1]{}" or "\def\switchargs#1#2{#2#1}".
std::vector<LatexMacro> PreambleMacros(const std::string& bytes)
{
    std::vector<LatexMacro> macros;
    const QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    static const QRegularExpression definition(QStringLiteral(
        "\\\\(?:(?:re|provide)?newcommand\\*?\\s*\\{?\\s*\\\\([A-Za-z]+)\\s*\\}?\\s*(?:\\[(\\d)\\])?|"
        "def\\s*\\\\([A-Za-z]+)((?:#\\d)*))\\s*\\{"));
    static const QRegularExpression preamble(QStringLiteral("@\\s*preamble\\s*[({]"),
                                             QRegularExpression::CaseInsensitiveOption);
    for (auto block = preamble.globalMatch(text); block.hasNext();) {
        const qsizetype from = block.next().capturedEnd();
        const qsizetype to = text.indexOf(QLatin1Char('@'), from);
        const QString body = text.mid(from, to < 0 ? -1 : to - from);
        for (auto m = definition.globalMatch(body); m.hasNext();) {
            const QRegularExpressionMatch d = m.next();
            // The body: the balanced braces after the definition.
            qsizetype end = d.capturedEnd();
            for (int depth = 1; end < body.size() && depth > 0; ++end)
                depth += body[end] == QLatin1Char('{') ? 1 : body[end] == QLatin1Char('}') ? -1 : 0;
            LatexMacro macro;
            macro.Name = (d.captured(1).isEmpty() ? d.captured(3) : d.captured(1)).toStdString();
            macro.Arguments = d.captured(1).isEmpty() ? static_cast<int>(d.captured(4).size() / 2) : d.captured(2).toInt();
            macro.Body = body.mid(d.capturedEnd(), end - d.capturedEnd() - 1).toStdString();
            macros.push_back(std::move(macro));
        }
    }
    return macros;
}

bool IsNameBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The words of a name outside braces (braced groups stay whole).
std::vector<std::string> NameWords(const std::string& name)
{
    std::vector<std::string> words;
    std::string word;
    int depth = 0;
    for (char c : name) {
        if (c == '{')
            ++depth;
        else if (c == '}' && depth > 0)
            --depth;
        if (depth == 0 && IsNameBlank(c)) {
            if (!word.empty())
                words.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(std::move(word));
    return words;
}

bool StartsLowerCase(const std::string& word)
{
    return !word.empty() && word[0] >= 'a' && word[0] <= 'z';
}

// "First von Last" as "von Last, First"; names with a comma or of one word
// stay as they are.
std::string LastNameFirst(const std::vector<std::string>& words)
{
    std::string joined = JoinListText(words, " ");
    if (words.size() < 2 || joined.find(',') != std::string::npos)
        return joined;
    const std::size_t last = words.size() - 1;
    std::size_t von = 0;
    while (von < last && !StartsLowerCase(words[von]))
        ++von;
    const std::size_t first = von == last ? last : von; // no "von": all but the last word are first names
    if (first == 0)
        return joined;
    const std::vector<std::string> given(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(first));
    const std::vector<std::string> family(words.begin() + static_cast<std::ptrdiff_t>(first), words.end());
    return JoinListText(family, " ") + ", " + JoinListText(given, " ");
}

} // namespace

std::vector<std::string> SplitBibNames(const std::string& value)
{
    std::vector<std::string> names;
    std::vector<std::string> current;
    for (std::string& word : NameWords(value)) {
        if (UpperAscii(word) == "AND") {
            if (!current.empty())
                names.push_back(LastNameFirst(current));
            current.clear();
        } else {
            current.push_back(std::move(word));
        }
    }
    if (!current.empty())
        names.push_back(LastNameFirst(current));
    return names;
}

int32_t TypOfBibTexEntry(const std::string& type, bool hasEditor, const std::string& subtype)
{
    if (OneOf(type, {"book", "mvbook"}))
        return hasEditor ? 2 : 0;
    if (OneOf(type, {"collection", "mvcollection", "proceedings", "mvproceedings", "reference", "mvreference"}))
        return 2;
    if (OneOf(type, {"phdthesis", "mastersthesis", "thesis"}))
        return 1;
    if (OneOf(type, {"incollection", "inbook", "inproceedings", "conference", "inreference", "suppbook",
                     "suppcollection", "bookinbook"}))
        return 3;
    if (OneOf(type, {"article", "suppperiodical"}))
        return OneOf(subtype, {"NEWSPAPER", "MAGAZINE"}) ? 5 : 4;
    if (OneOf(type, {"booklet", "techreport", "report", "manual", "unpublished", "pamphlet"}))
        return 7;
    if (OneOf(type, {"online", "electronic", "www", "video", "audio", "movie", "music", "software", "artwork",
                     "image", "performance"}))
        return 6;
    if (type == "misc" && OneOf(subtype, {"AUDIOVISUAL", "VIDEO", "AUDIO"}))
        return 6;
    return 8;
}

ParsedReferences ParseBibTex(const std::string& bytes)
{
    TraceScope trace("BibTexImport.ParseBibTex");
    BibParseSession session;
    BibParseResult bib = session.Parse(ImportTextAsUtf8(bytes));
    ParsedReferences parsed;
    parsed.Problems = std::move(bib.Problems);
    ResolveCrossrefs(bib.Entries, parsed.Problems);
    parsed.References.reserve(bib.Entries.size());
    const std::vector<LatexMacro> macros = PreambleMacros(bytes);
    for (BibEntry& e : bib.Entries)
        parsed.References.push_back(EntryReader(e, macros).read(parsed.Problems));
    std::stable_sort(parsed.Problems.begin(), parsed.Problems.end(),
                     [](const ImportProblem& a, const ImportProblem& b) { return a.Line < b.Line; });
    return parsed;
}

ReferenceImportResult ImportBibTexFile(Workspace& ws, const std::string& path)
{
    return ImportReferenceFile(ws, path, ParseBibTex);
}

ReferenceImportResult ImportFromBibTex(Workspace& ws)
{
    TraceScope trace("BibTexImport.ImportFromBibTex");
    FileDialogSpec dialog;
    dialog.filter = "BibTeX-Dateien (*.bib)|*.bib|Alle Dateien (*)|*";
    dialog.defaultExt = "bib";
    dialog.mustExist = true;
    return ImportReferenceCommand(ws, dialog, ParseBibTex);
}

} // namespace folianto
