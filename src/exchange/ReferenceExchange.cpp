#include "exchange/ReferenceExchange.h"

#include "core/Codec.h"
#include "core/ErrorText.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "editor/ShortKeys.h"
#include "exchange/LatexText.h"
#include "exchange/TextExport.h"
#include "exchange/TextImport.h"
#include "application/App.h"

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
void AssignKuerzel(App& app, int32_t index, std::unordered_set<std::string>& held)
{
    TBuch& b = *app.store.at(index);
    if (!HasPrintable(b.Kuerzel.Text)) {
        b.Kuerzel.Text.clear();
        if (app.settings.KuerzelZwang)
            Kuerzel_erzeugen(app);
    } else if (held.count(b.Kuerzel.Text) != 0) {
        b.Kuerzel.Text = MakeUniqueKuerzel(app, index);
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

ReferenceImportResult ImportReferences(App& app, const std::string& path, const ParsedReferences& parsed)
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
    const int32_t room = MaxBuch - app.store.AnzBuch;
    if (count > room) {
        app.ui.message(MsgKind::Error,
                       "Die Datei " + path + Cp1252(" enthält ") + IntToStr(count) +
                           Cp1252(" Titel, Platz ist nur noch für ") + IntToStr(room) + ".\r\n" +
                           "Es wurde nichts importiert.",
                       Buttons::Ok);
        result.Read = false;
        return result;
    }
    if (count == 0) {
        app.ui.message(MsgKind::Error,
                       "In " + path + Cp1252(" wurden keine Titel gefunden.") + ProblemList(parsed.Problems, true),
                       Buttons::Ok);
        result.Read = false;
        return result;
    }

    TitleChange change(app.titleHistory, "Import aus " + ExtractFileName(path));
    std::unordered_set<std::string> held;
    for (int32_t i = 1; i <= app.store.AnzBuch; ++i)
        if (const TBuch* b = app.store.at(i))
            held.insert(b->Kuerzel.Text);
    for (const Reference& r : parsed.References) {
        if (!app.store.NewBuch()) {
            // Room was checked above; only memory can run out here.
            app.ui.message(MsgKind::Error, GetErrorText(app.store.FehlerNr, ""), Buttons::Ok);
            break;
        }
        app.store.ActBuch = app.store.AnzBuch;
        TBuch& b = *app.store.current();
        StoreReference(r, b);
        b.Kuerzel.Text = r.Key;
        AssignKuerzel(app, app.store.AnzBuch, held);
        app.store.UpdateBuchLengths(app.store.AnzBuch);
        ++result.Imported;
    }
    AfterImport(app);
    if (parsed.Problems.empty())
        app.Inform(MsgKind::Information, ImportReport(path, result.Imported, 0, {}));
    else
        app.ui.message(MsgKind::Warning, ImportReport(path, result.Imported, result.Dropped, parsed.Problems),
                       Buttons::Ok);
    return result;
}

ReferenceImportResult ImportReferenceFile(App& app, const std::string& path, const ReferenceParser& parse)
{
    TraceScope trace("ReferenceExchange.ImportReferenceFile", path);
    QFile file(PathFromCp1252(path));
    if (!file.open(QIODevice::ReadOnly)) {
        app.ui.message(MsgKind::Error, GetErrorText(3, path), Buttons::Ok);
        return {};
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        app.ui.message(MsgKind::Error, GetErrorText(3, path), Buttons::Ok);
        return {};
    }
    BusyCursor busy(app.ui);
    const ParsedReferences parsed = parse(std::string(data.constData(), static_cast<std::size_t>(data.size())));
    return ImportReferences(app, path, parsed);
}

ReferenceImportResult ImportReferenceCommand(App& app, const FileDialogSpec& dialog, const ReferenceParser& parse)
{
    const std::optional<std::string> path = app.ui.openFile(dialog);
    if (!path) {
        app.Inform(MsgKind::Warning, Cp1252("Keine Datei ausgewählt!"));
        return {};
    }
    return ImportReferenceFile(app, *path, parse);
}

std::vector<Reference> ReferencesOfTitles(const App& app, const std::vector<int32_t>& titles)
{
    std::vector<Reference> references;
    references.reserve(titles.size());
    for (int32_t index : titles)
        if (const TBuch* b = app.store.at(index))
            references.push_back(ReferenceOfTitle(*b));
    return references;
}

bool ExportReferenceCommand(App& app, const FileDialogSpec& dialog, const ReferenceWriter& write)
{
    TraceScope trace("ReferenceExchange.ExportReferenceCommand");
    const std::optional<ExportTarget> target = AskExportTarget(app, dialog);
    if (!target)
        return false;
    BusyCursor busy(app.ui);
    if (!WriteExportFile(app, target->Path, write(ReferencesOfTitles(app, target->Titles))))
        return false;
    app.Inform(MsgKind::Information, "Export in " + target->Path + " beendet!");
    return true;
}

} // namespace folianto
