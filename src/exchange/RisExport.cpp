#include "exchange/RisExport.h"

#include "core/Buch.h"
#include "core/Codec.h"
#include "core/Trace.h"
#include "core/UserInteraction.h"
#include "exchange/DateText.h"
#include "exchange/ReferenceExchange.h"

namespace folianto {
namespace {

// Line breaks inside a value; a multi-line value continues on lines of its own.
std::string OneLine(const std::string& cp1252)
{
    std::string out;
    for (char c : cp1252)
        out += c == '\r' || c == '\n' ? ' ' : c;
    return out;
}

class RecordWriter {
public:
    explicit RecordWriter(std::string& out) : out_(out) {}
    void tag(const char* tag, const std::string& cp1252, bool multiLine = false)
    {
        if (cp1252.empty())
            return;
        out_ += tag;
        out_ += "  - ";
        out_ += Cp1252ToUtf8(multiLine ? cp1252 : OneLine(cp1252));
        out_ += "\r\n";
    }
    void each(const char* t, const std::vector<std::string>& values)
    {
        for (const std::string& v : values)
            tag(t, v);
    }

private:
    std::string& out_;
};

// PY the year, DA "YYYY/MM/DD/" where there is more than a year; a span or
// an approximate date keeps its text in DA's last part. A text that is no
// date stays in PY.
void WriteDate(RecordWriter& w, const std::string& year)
{
    const IssuedDate d = ParseIssuedDate(year);
    if (!d.isDate()) {
        w.tag("PY", year);
        return;
    }
    const DateParts& p = d.Parts[0];
    w.tag("PY", std::to_string(p.Year));
    if (d.Parts.size() > 1 || d.Circa)
        w.tag("DA", std::to_string(p.Year) + "///" + IssuedDateText(d));
    else if (p.Month > 0)
        w.tag("DA", std::to_string(p.Year) + "/" + (p.Month < 10 ? "0" : "") + std::to_string(p.Month) + "/" +
                        (p.Day > 0 ? (p.Day < 10 ? "0" : "") + std::to_string(p.Day) : std::string()) + "/");
}

} // namespace

std::string RisType(int32_t typ)
{
    static const char* const types[TypCount] = {"BOOK", "THES", "EDBOOK", "CHAP", "JOUR",
                                                "NEWS", "ADVS", "PAMP",   "GEN"};
    return typ >= 0 && typ < TypCount ? types[typ] : "GEN";
}

std::string WriteRis(const std::vector<Reference>& references)
{
    TraceScope trace("RisExport.WriteRis");
    std::string out;
    out.reserve(references.size() * 600);
    for (const Reference& r : references) {
        RecordWriter w(out);
        w.tag("TY", RisType(r.Typ));
        w.tag("ID", r.Key);
        w.each("AU", r.Authors);
        w.each("ED", r.Editors);
        // RIS has no subtitle: it joins the title as reference managers write it.
        w.tag("TI", r.Subtitle.empty() ? r.Title : r.Title.empty() ? r.Subtitle : r.Title + ": " + r.Subtitle);
        w.tag("T2", r.Container);
        w.tag("T3", r.Series);
        w.tag("M3", r.Genre);
        WriteDate(w, r.Year);
        w.tag("PB", r.Publisher);
        w.tag("CY", r.Address);
        w.tag("SN", r.Isbn);
        w.tag("SN", r.Issn);
        w.each("KW", r.Keywords);
        w.tag("AB", r.Abstract, true);
        w.tag("N1", r.Note, true);
        w.tag("VL", r.Volume.empty() ? r.SeriesNumber : r.Volume);
        w.tag("IS", r.Issue.empty() ? r.Number : r.Issue);
        // Pages split at the first hyphen; the import joins them with one.
        const std::string& pages = r.Pages.empty() ? r.PageCount : r.Pages;
        const std::size_t dash = pages.find('-');
        w.tag("SP", pages.substr(0, dash));
        if (dash != std::string::npos)
            w.tag("EP", pages.substr(dash + 1).empty() ? std::string(" ") : pages.substr(dash + 1));
        w.tag("ET", r.Edition);
        w.tag("LA", r.Language);
        w.tag("UR", r.Url);
        out += "ER  - \r\n\r\n";
    }
    return out;
}

bool ExportToRis(Workspace& ws)
{
    TraceScope trace("RisExport.ExportToRis");
    FileDialogSpec dialog;
    dialog.filter = "RIS-Dateien (*.ris)|*.ris;*.RIS|Alle Dateien (*.*)|*.*";
    dialog.defaultExt = "ris";
    dialog.initialPath = "*.ris";
    return ExportReferenceCommand(ws, dialog, WriteRis);
}

} // namespace folianto
