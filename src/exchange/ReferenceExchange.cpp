#include "exchange/ReferenceExchange.h"

#include "core/Codec.h"
#include "core/ErrorText.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "editor/ShortKeys.h"
#include "exchange/LatexText.h"
#include "exchange/TextExport.h"
#include "exchange/TextImport.h"
#include "workspace/Workspace.h"

#include <QFile>

#include <unordered_set>

namespace folianto {
namespace {

// At most this many problems are listed in the message; the trace has all.
constexpr std::size_t kListedProblems = 30;

std::string LineText(const ImportProblem& p)
{
    if (p.LastLine > p.Line)
        return "Zeilen " + IntToStr(p.Line) + "-" + IntToStr(p.LastLine) + ": " + p.Text;
    return "Zeile " + IntToStr(p.Line) + ": " + p.Text;
}

std::string ProblemList(const std::vector<ImportProblem>& problems, bool dropped)
{
    std::string out;
    std::size_t listed = 0;
    std::size_t more = 0;
    for (const ImportProblem& p : problems) {
        if (p.Dropped != dropped)
            continue;
        if (listed++ < kListedProblems)
            out += "\r\n" + LineText(p);
        else
            ++more;
    }
    if (more > 0)
        out += "\r\n... und " + IntToStr(static_cast<long long>(more)) + " weitere";
    return out;
}

// The import report: the count, the entries not taken, the notes.
std::string ImportReport(const std::string& path, int imported, int dropped, const std::vector<ImportProblem>& problems)
{
    std::string text = "Import aus " + path + ": " + IntToStr(imported) + Cp1252(" Titel übernommen");
    if (dropped > 0)
        text += ", " + IntToStr(dropped) + Cp1252(dropped == 1 ? " Eintrag nicht übernommen:" : " Einträge nicht übernommen:") +
                ProblemList(problems, true);
    else
        text += ".";
    if (static_cast<std::size_t>(dropped) < problems.size())
        text += "\r\n\r\nHinweise:" + ProblemList(problems, false);
    return text;
}

// Gives the new title `index` its short key: the imported one when no title
// holds it, else a free variant; without a key one is made when keys are
// required. `held` is the set of keys in the store and grows with each title.
void AssignKuerzel(Workspace& ws, int32_t index, std::unordered_set<std::string>& held)
{
    TBuch& b = *ws.store.at(index);
    if (!HasPrintable(b.Kuerzel.Text)) {
        b.Kuerzel.Text.clear();
        if (ws.settings.KuerzelZwang)
            Kuerzel_erzeugen(ws.store, ws.settings);
    } else if (held.count(b.Kuerzel.Text) != 0) {
        b.Kuerzel.Text = MakeUniqueKuerzel(ws.store, ws.settings, index);
    }
    held.insert(b.Kuerzel.Text);
}

} // namespace

void JunkLines::mark(int line)
{
    if (first_ > 0 && line <= last_ + 1) {
        last_ = line;
        return;
    }
    flush();
    first_ = last_ = line;
}

void JunkLines::flush()
{
    if (first_ > 0)
        out_.push_back({first_, last_, Cp1252("Text außerhalb eines Eintrags übergangen"), false});
    first_ = last_ = 0;
}

std::string ImportTextAsUtf8(const std::string& bytes)
{
    std::string text = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? bytes.substr(3) : bytes;
    if (!IsValidUtf8(text))
        text = Cp1252ToUtf8(text);
    return text;
}

void NoteKept(std::vector<ImportProblem>& problems, int line, const std::vector<std::string>& kept)
{
    if (kept.empty())
        return;
    std::string list;
    for (const std::string& r : kept) {
        if (list.size() > 200) {
            list += ", ...";
            break;
        }
        list += (list.empty() ? "" : ", ") + r;
    }
    problems.push_back({line, 0, Cp1252("LaTeX ohne Entsprechung, unverändert übernommen: ") +
                                     Utf8ToCp1252(list),
                        false});
}

ReferenceImportResult ImportReferences(Workspace& ws, const std::string& path, const ParsedReferences& parsed)
{
    TraceScope trace("ReferenceExchange.ImportReferences", path);
    ReferenceImportResult result;
    result.Read = true;
    for (const ImportProblem& p : parsed.Problems) {
        WriteTrace("Import: " + LineText(p));
        if (p.Dropped)
            ++result.Dropped;
    }
    const auto count = static_cast<int32_t>(parsed.References.size());
    const int32_t room = MaxBuch - ws.store.AnzBuch;
    if (count > room) {
        ws.ui.message(MsgKind::Error,
                       "Die Datei " + path + Cp1252(" enthält ") + IntToStr(count) +
                           Cp1252(" Titel, Platz ist nur noch für ") + IntToStr(room) + ".\r\n" +
                           "Es wurde nichts importiert.",
                       Buttons::Ok);
        result.Read = false;
        return result;
    }
    if (count == 0) {
        ws.ui.message(MsgKind::Error,
                       "In " + path + Cp1252(" wurden keine Titel gefunden.") + ProblemList(parsed.Problems, true),
                       Buttons::Ok);
        result.Read = false;
        return result;
    }

    TitleChange change(ws.titleHistory, "Import aus " + ExtractFileName(path));
    std::unordered_set<std::string> held;
    for (int32_t i = 1; i <= ws.store.AnzBuch; ++i)
        if (const TBuch* b = ws.store.at(i))
            held.insert(b->Kuerzel.Text);
    for (const Reference& r : parsed.References) {
        if (!ws.store.NewBuch()) {
            // Room was checked above; only memory can run out here.
            ws.ui.message(MsgKind::Error, GetErrorText(ws.store.FehlerNr, ""), Buttons::Ok);
            break;
        }
        ws.store.ActBuch = ws.store.AnzBuch;
        TBuch& b = *ws.store.current();
        StoreReference(r, b);
        b.Kuerzel.Text = r.Key;
        AssignKuerzel(ws, ws.store.AnzBuch, held);
        ws.store.UpdateBuchLengths(ws.store.AnzBuch);
        ++result.Imported;
    }
    AfterImport(ws, ws.store.AnzBuch - result.Imported);
    if (parsed.Problems.empty())
        ws.Inform(MsgKind::Information, ImportReport(path, result.Imported, 0, {}));
    else
        ws.ui.message(MsgKind::Warning, ImportReport(path, result.Imported, result.Dropped, parsed.Problems),
                       Buttons::Ok);
    return result;
}

ReferenceImportResult ImportReferenceFile(Workspace& ws, const std::string& path, const ReferenceParser& parse)
{
    TraceScope trace("ReferenceExchange.ImportReferenceFile", path);
    QFile file(PathFromCp1252(path));
    if (!file.open(QIODevice::ReadOnly)) {
        ws.ui.message(MsgKind::Error, GetErrorText(3, path), Buttons::Ok);
        return {};
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        ws.ui.message(MsgKind::Error, GetErrorText(3, path), Buttons::Ok);
        return {};
    }
    BusyCursor busy(ws.ui);
    const ParsedReferences parsed = parse(std::string(data.constData(), static_cast<std::size_t>(data.size())));
    return ImportReferences(ws, path, parsed);
}

ReferenceImportResult ImportReferenceCommand(Workspace& ws, const FileDialogSpec& dialog, const ReferenceParser& parse)
{
    const std::optional<std::string> path = ws.ChooseFile(FileQuestion::Open, dialog);
    if (!path)
        return {};
    return ImportReferenceFile(ws, *path, parse);
}

std::vector<Reference> ReferencesOfTitles(const Workspace& ws, const std::vector<int32_t>& titles)
{
    std::vector<Reference> references;
    references.reserve(titles.size());
    for (int32_t index : titles)
        if (const TBuch* b = ws.store.at(index))
            references.push_back(ReferenceOfTitle(*b));
    return references;
}

bool ExportReferenceCommand(Workspace& ws, const FileDialogSpec& dialog, const ReferenceWriter& write)
{
    TraceScope trace("ReferenceExchange.ExportReferenceCommand");
    const std::optional<ExportTarget> target = AskExportTarget(ws, dialog);
    if (!target)
        return false;
    BusyCursor busy(ws.ui);
    if (!WriteExportFile(ws, target->Path, write(ReferencesOfTitles(ws, target->Titles))))
        return false;
    ws.Inform(MsgKind::Information, "Export in " + target->Path + " beendet!");
    ReportExport(ws, target->Titles.size(), target->Path);
    return true;
}

} // namespace folianto
