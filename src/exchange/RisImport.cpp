#include "exchange/RisImport.h"

#include "core/Codec.h"
#include "core/Trace.h"
#include "core/Text.h"
#include "core/UserInteraction.h"
#include "exchange/DateText.h"
#include "exchange/FieldMeaning.h"

#include <algorithm>
#include <map>
#include <string_view>

namespace folianto {
namespace {

struct RisRecord {
    int Line = 0;
    std::vector<std::pair<std::string, std::string>> Tags; // UTF-8 values
};

// "XX  - value": a tag of an upper-case letter and a letter or digit, blanks,
// a hyphen. Lenient about the number of blanks, since not every producer
// writes exactly two.
bool ReadTagLine(std::string_view line, std::string& tag, std::string& value)
{
    if (line.size() < 4)
        return false;
    const char a = line[0];
    const char b = line[1];
    if (!(a >= 'A' && a <= 'Z') || !((b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9')))
        return false;
    std::size_t p = 2;
    while (p < line.size() && p < 5 && line[p] == ' ')
        ++p;
    if (p == 2 || p >= line.size() || line[p] != '-')
        return false;
    ++p;
    if (p < line.size() && line[p] == ' ')
        ++p;
    tag.assign(line.substr(0, 2));
    value.assign(line.substr(p));
    return true;
}

bool IsMultiLineTag(const std::string& tag)
{
    return tag == "AB" || tag == "N1" || tag == "N2";
}

// "YYYY/MM/DD/other" (the parts may be empty) in the editor's form; the
// other part where it is a date of its own (a span, "ca. 1900").
std::string RisDateText(const std::string& da)
{
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t slash = da.find('/', from);
        parts.push_back(da.substr(from, slash == std::string::npos ? std::string::npos : slash - from));
        from = slash == std::string::npos ? da.size() : slash + 1;
    }
    const std::string other = CollapseBlanks(da.substr(std::min(from, da.size())));
    if (const IssuedDate o = ParseIssuedDate(other); o.isDate())
        return IssuedDateText(o);
    std::string text = parts[0];
    if (!parts[1].empty())
        text = parts[2].empty() ? parts[1] + "/" + parts[0] : parts[2] + "." + parts[1] + "." + parts[0];
    const IssuedDate d = ParseIssuedDate(text);
    return d.isDate() ? IssuedDateText(d) : std::string();
}

class RecordReader {
public:
    explicit RecordReader(RisRecord& record) : record_(record), taken_(record.Tags.size(), false) {}

    Reference read()
    {
        Reference r;
        r.Line = record_.Line;
        r.Typ = TypOfRisType(CollapseBlanks(first("TY")));
        take("TY");
        r.Key = text("ID");
        r.Authors = list("AU", "A1");
        r.Editors = list("ED", "A2");
        r.Title = text("TI", "T1");
        for (const char* container : {"T2", "BT", "JO", "JF", "JA"})
            if (r.Container.empty())
                r.Container = text(container);
        r.Series = text("T3");
        if (r.Typ == 1)
            r.Genre = text("M3");
        for (const char* date : {"DA", "Y1"})
            if (r.Year.empty() && has(date))
                r.Year = RisDateText(text(date));
        const std::string py = text("PY");
        // PY as older producers write it: "1989/11/10/", "1989///".
        const bool slashed = std::count(py.begin(), py.end(), '/') >= 2; // not "1998/99"
        const std::string pyDate = slashed ? RisDateText(py) : std::string();
        if (r.Year.empty())
            r.Year = !pyDate.empty() ? pyDate : ParseIssuedDate(py).isDate() ? IssuedDateText(ParseIssuedDate(py)) : py;
        r.Publisher = text("PB");
        r.Address = text("CY");
        const std::string sn = text("SN");
        (LooksLikeIssn(sn) ? r.Issn : r.Isbn) = sn;
        r.Keywords = list("KW", "");
        r.Abstract = multiLine("AB");
        if (r.Abstract.empty())
            r.Abstract = multiLine("N2");
        r.Note = multiLine("N1");
        r.Volume = text("VL");
        r.Issue = text("IS");
        r.Pages = text("SP");
        if (has("EP"))
            r.Pages += "-" + text("EP");
        if (const int32_t edition = EditionNumber(CollapseBlanks(decode(first("ET")))); edition > 0) {
            take("ET");
            r.Edition = IntToStr(edition);
        }
        r.Language = text("LA");
        r.Url = text("UR");
        // Tags without a field of their own stay in the remark.
        for (std::size_t i = 0; i < record_.Tags.size(); ++i) {
            if (taken_[i])
                continue;
            const std::string v = NormaliseLineBreaks(decode(record_.Tags[i].second));
            if (!v.empty())
                r.Note += (r.Note.empty() ? "" : "\r\n") + record_.Tags[i].first + ": " + v;
        }
        return r;
    }

private:
    // The first value of the tag not yet used, or -1.
    int find(const std::string& tag) const
    {
        for (std::size_t i = 0; i < record_.Tags.size(); ++i)
            if (!taken_[i] && record_.Tags[i].first == tag)
                return static_cast<int>(i);
        return -1;
    }
    bool has(const std::string& tag) const { return find(tag) >= 0; }
    std::string first(const std::string& tag) const
    {
        const int i = find(tag);
        return i < 0 ? std::string() : record_.Tags[static_cast<std::size_t>(i)].second;
    }
    // The first value; later ones of a single-valued tag go to the remark.
    std::string take(const std::string& tag)
    {
        const int i = find(tag);
        if (i < 0)
            return {};
        taken_[static_cast<std::size_t>(i)] = true;
        return std::move(record_.Tags[static_cast<std::size_t>(i)].second);
    }
    std::string decode(const std::string& utf8)
    {
        return Utf8ToCp1252(utf8);
    }
    std::string text(const std::string& tag, const std::string& alias = {})
    {
        const std::string& used = has(tag) || alias.empty() ? tag : alias;
        return CollapseBlanks(decode(take(used)));
    }
    std::string multiLine(const std::string& tag) { return NormaliseLineBreaks(decode(take(tag))); }
    std::vector<std::string> list(const std::string& tag, const std::string& alias)
    {
        std::vector<std::string> out;
        for (const std::string& t : {tag, alias}) {
            if (t.empty())
                continue;
            while (has(t)) {
                std::string v = CollapseBlanks(decode(take(t)));
                if (!v.empty())
                    out.push_back(std::move(v));
            }
        }
        return out;
    }

    RisRecord& record_;
    std::vector<bool> taken_;
};

} // namespace

int32_t TypOfRisType(const std::string& ty)
{
    static const std::map<std::string, int32_t> types = {
        {"BOOK", 0},   {"EBOOK", 0},  {"THES", 1},  {"EDBOOK", 2}, {"CONF", 2},   {"CHAP", 3},  {"ECHAP", 3},
        {"CPAPER", 3}, {"JOUR", 4},   {"EJOUR", 4}, {"JFULL", 4},  {"ABST", 4},   {"NEWS", 5},  {"MGZN", 5},
        {"ADVS", 6},   {"VIDEO", 6},  {"SOUND", 6}, {"MPCT", 6},   {"MUSIC", 6},  {"ELEC", 6},  {"WEB", 6},
        {"COMP", 6},   {"ART", 6},    {"PAMP", 7},  {"RPRT", 7},   {"UNPB", 7},   {"GOVDOC", 7}, {"MANSCPT", 7},
        {"STAND", 7},  {"GEN", 8}};
    const auto it = types.find(ty);
    return it == types.end() ? 8 : it->second;
}

ParsedReferences ParseRis(const std::string& bytes)
{
    TraceScope trace("RisImport.ParseRis");
    const std::string text = ImportTextAsUtf8(bytes);
    ParsedReferences parsed;
    std::vector<RisRecord> records;
    JunkLines junk(parsed.Problems);
    bool open = false;
    std::string pendingBreaks; // blank lines inside a multi-line value
    const auto close = [&](int line, bool ended) {
        if (!ended)
            parsed.Problems.push_back({records.back().Line, 0,
                                       Cp1252("Datensatz ohne Abschluss „ER“ (bis Zeile ") + std::to_string(line) +
                                           Cp1252("), trotzdem übernommen"),
                                       false});
        open = false;
    };
    int n = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + pos, end - pos);
        pos = end + 1;
        ++n;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        std::string tag;
        std::string value;
        if (ReadTagLine(line, tag, value)) {
            junk.flush();
            pendingBreaks.clear();
            if (tag == "TY") {
                if (open)
                    close(n - 1, false);
                records.push_back({n, {}});
                open = true;
            } else if (tag == "ER") {
                if (open)
                    close(n, true);
                else
                    junk.mark(n);
                continue;
            } else if (!open) {
                junk.mark(n);
                continue;
            }
            while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
                value.pop_back();
            records.back().Tags.emplace_back(tag, std::move(value));
            continue;
        }
        const bool blank = line.find_first_not_of(" \t\f\v") == std::string::npos;
        if (open && !records.back().Tags.empty()) {
            auto& [lastTag, lastValue] = records.back().Tags.back();
            if (blank) {
                if (IsMultiLineTag(lastTag))
                    pendingBreaks += "\r\n";
                continue;
            }
            lastValue += IsMultiLineTag(lastTag) ? pendingBreaks + "\r\n" : std::string(" ");
            lastValue += line;
            pendingBreaks.clear();
        } else if (!blank) {
            junk.mark(n);
        }
    }
    if (open)
        close(n, false);
    junk.flush();
    parsed.References.reserve(records.size());
    for (RisRecord& record : records)
        parsed.References.push_back(RecordReader(record).read());
    std::stable_sort(parsed.Problems.begin(), parsed.Problems.end(),
                     [](const ImportProblem& a, const ImportProblem& b) { return a.Line < b.Line; });
    return parsed;
}

ReferenceImportResult ImportRisFile(Workspace& ws, const std::string& path)
{
    return ImportReferenceFile(ws, path, ParseRis);
}

ReferenceImportResult ImportFromRis(Workspace& ws)
{
    TraceScope trace("RisImport.ImportFromRis");
    FileDialogSpec dialog;
    dialog.filter = "RIS-Dateien (*.ris)|*.ris|Alle Dateien (*)|*";
    dialog.defaultExt = "ris";
    dialog.mustExist = true;
    return ImportReferenceCommand(ws, dialog, ParseRis);
}

} // namespace folianto
