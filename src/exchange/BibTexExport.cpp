#include "exchange/BibTexExport.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "core/UserInteraction.h"
#include "exchange/DateText.h"
#include "exchange/LatexText.h"
#include "exchange/ReferenceExchange.h"

#include <QString>

#include <unordered_set>

namespace folianto {
namespace {

// Kinds of thesis that are not a doctorate, as the "Art" field names them.
bool IsMastersThesis(const std::string& reihe)
{
    const std::string upper = UpperAscii(reihe);
    for (const char* word : {"DIPLOM", "MAGISTER", "MASTER", "BACHELOR", "STAATSEXAMEN", "ZULASSUNG", "MA-"})
        if (upper.find(word) != std::string::npos)
            return true;
    return false;
}

std::string EscapedName(const std::string& name)
{
    const std::string escaped = LatexEscape(name, " ");
    // A name holding the word "and" would be split in two.
    return UpperAscii(name).find(" AND ") != std::string::npos ? "{" + escaped + "}" : escaped;
}

// URLs and paths are read verbatim; only braces would unbalance the value.
std::string UrlValue(const std::string& url)
{
    std::string out;
    for (char c : Cp1252ToUtf8(url)) {
        if (c == '{')
            out += "%7B";
        else if (c == '}')
            out += "%7D";
        else if (c == '\r' || c == '\n')
            out += ' ';
        else
            out += c;
    }
    return out;
}

class EntryWriter {
public:
    explicit EntryWriter(std::string& out) : out_(out) {}
    // A field with an already escaped value; nothing when empty.
    void raw(const char* name, const std::string& value)
    {
        if (value.empty())
            return;
        out_ += "  ";
        out_ += name;
        out_ += " = {";
        out_ += value;
        out_ += "},\r\n";
    }
    void text(const char* name, const std::string& cp1252) { raw(name, LatexEscape(cp1252, " ")); }
    // An unbraced macro name ("month = nov").
    void macro(const char* name, const std::string& value)
    {
        out_ += std::string("  ") + name + " = " + value + ",\r\n";
    }
    void multiLine(const char* name, const std::string& cp1252) { raw(name, LatexEscape(cp1252)); }
    void names(const char* name, const std::vector<std::string>& list)
    {
        std::string value;
        for (const std::string& n : list)
            value += (value.empty() ? "" : " and ") + EscapedName(n);
        raw(name, value);
    }

private:
    std::string& out_;
};

// A date BibTeX styles print: "year" (the text as entered where it is no
// single date), "month" and "day"; biblatex's "date" for a span or "circa".
void WriteDate(EntryWriter& w, const std::string& year)
{
    const IssuedDate d = ParseIssuedDate(year);
    if (!d.isDate() || d.Parts.size() > 1 || d.Circa) {
        w.text("year", year);
        if (!d.isDate())
            return;
        std::string edtf;
        for (const DateParts& p : d.Parts) {
            edtf += (edtf.empty() ? "" : "/") + std::to_string(p.Year);
            if (p.Month > 0)
                edtf += (p.Month < 10 ? "-0" : "-") + std::to_string(p.Month);
            if (p.Day > 0)
                edtf += (p.Day < 10 ? "-0" : "-") + std::to_string(p.Day);
        }
        w.raw("date", edtf + (d.Circa ? "~" : ""));
        return;
    }
    w.raw("year", std::to_string(d.Parts[0].Year));
    if (d.Parts[0].Month > 0)
        w.macro("month", MonthAbbreviation(d.Parts[0].Month));
    if (d.Parts[0].Day > 0)
        w.raw("day", std::to_string(d.Parts[0].Day));
}

} // namespace

std::string BibTexEntryType(const Reference& r)
{
    switch (r.Typ) {
    case 0:
    case 2: return "book";
    case 1: return IsMastersThesis(r.Genre) ? "mastersthesis" : "phdthesis";
    case 3: return "incollection";
    case 4:
    case 5: return "article";
    case 7: return "booklet";
    default: return "misc";
    }
}

std::string BibTexKey(const std::string& kuerzel)
{
    std::string key;
    for (std::size_t i = 0; i < kuerzel.size(); ++i) {
        auto c = static_cast<unsigned char>(kuerzel[i]);
        if (const CharReference ref = c == '&' ? ReferenceAt(kuerzel, i) : CharReference{}; ref.length > 0) {
            i += ref.length - 1;
            const int byte = Cp1252Byte(ref.codePoint);
            const int base = byte >= 0 ? byte : BaseLetter(ref.codePoint);
            if (base < 0)
                continue;
            c = static_cast<unsigned char>(base);
        }
        switch (c) {
        case 0xC4: key += "Ae"; continue;
        case 0xD6: key += "Oe"; continue;
        case 0xDC: key += "Ue"; continue;
        case 0xE4: key += "ae"; continue;
        case 0xF6: key += "oe"; continue;
        case 0xFC: key += "ue"; continue;
        case 0xDF: key += "ss"; continue;
        default: break;
        }
        if (c >= 0x80) {
            const QString decomposed = FromCp1252(std::string(1, static_cast<char>(c))).normalized(QString::NormalizationForm_D);
            const char16_t base = decomposed.isEmpty() ? 0 : decomposed[0].unicode();
            if ((base >= 'A' && base <= 'Z') || (base >= 'a' && base <= 'z'))
                key += static_cast<char>(base);
            continue;
        }
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            std::string("-_:./+").find(static_cast<char>(c)) != std::string::npos)
            key += static_cast<char>(c);
    }
    return key.empty() ? "titel" : key;
}

std::string WriteBibTex(const std::vector<Reference>& references)
{
    TraceScope trace("BibTexExport.WriteBibTex");
    std::string out = "% Folianto " FOLIANTO_VERSION ", UTF-8\r\n\r\n";
    out.reserve(references.size() * 700);
    std::unordered_set<std::string> used; // upper-cased keys of the file
    for (const Reference& r : references) {
        const std::string base = BibTexKey(r.Key);
        std::string key = base;
        for (int n = 2; !used.insert(UpperAscii(key)).second; ++n)
            key = base + "_" + IntToStr(n);

        out += "@" + BibTexEntryType(r) + "{" + key + ",\r\n";
        EntryWriter w(out);
        w.names("author", r.Authors);
        w.names("editor", r.Editors);
        w.text("title", r.Title);
        w.text("subtitle", r.Subtitle);
        w.text(r.Typ == 4 || r.Typ == 5 ? "journal" : "booktitle", r.Container);
        w.text("series", r.Series);
        w.text("type", r.Genre);
        if (r.Typ == 5)
            w.raw("entrysubtype", "newspaper");
        else if (r.Typ == 6)
            w.raw("entrysubtype", "audiovisual");
        WriteDate(w, r.Year);
        w.text(r.Typ == 1 ? "school" : "publisher", r.Publisher);
        w.text("address", r.Address);
        w.text("volume", r.Volume);
        // "number" holds a journal's issue or a book's number in its series;
        // a book's own number then goes to "issue".
        const bool numberTaken = !r.Issue.empty() || !r.SeriesNumber.empty();
        w.text("number", !r.Issue.empty() ? r.Issue : !r.SeriesNumber.empty() ? r.SeriesNumber : r.Number);
        if (numberTaken)
            w.text("issue", r.Number);
        w.text("pages", r.Pages);
        w.text("pagetotal", r.PageCount);
        w.text("edition", r.Edition);
        w.text("isbn", r.Isbn);
        w.text("issn", r.Issn);
        w.text("language", r.Language);
        std::string keywords;
        for (const std::string& k : r.Keywords)
            keywords += (keywords.empty() ? "" : ", ") + LatexEscape(k, " ");
        w.raw("keywords", keywords);
        w.multiLine("abstract", r.Abstract);
        w.multiLine("note", r.Note);
        w.raw("url", UrlValue(r.Url));
        out += "}\r\n\r\n";
    }
    return out;
}

bool ExportToBibTex(Workspace& ws)
{
    TraceScope trace("BibTexExport.ExportToBibTex");
    FileDialogSpec dialog;
    dialog.filter = "BibTeX-Dateien (*.bib)|*.bib;*.BIB|Alle Dateien (*.*)|*.*";
    dialog.defaultExt = "bib";
    dialog.initialPath = "*.bib";
    return ExportReferenceCommand(ws, dialog, WriteBibTex);
}

} // namespace folianto
