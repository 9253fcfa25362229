#include "application/FileCommands.h"

#include "core/Codec.h"
#include "core/DatabaseFile.h"
#include "core/ErrorText.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "application/App.h"
#include "application/BuchData.h"
#include "application/Recovery.h"
#include "application/SemaphoreFile.h"
#include "exchange/TextImport.h"
#include "selection/SearchLists.h"
#include "selection/Selection.h"
#include "shell/MainCommands.h"

namespace folianto {
namespace {

const char* const kFilter = "Folianto Dateien (*.FOL)|*.FOL";

bool HasFolExtension(const std::string& path)
{
    return UpperAscii(ExtractFileExt(path)) == ".FOL";
}

// After a completed save under `path`.
void Saved(App& app, const std::string& path)
{
    app.Inform(MsgKind::Information, path + " wurde gesichert!");
}

} // namespace

bool FileOpen(App& app, LoadMode mode)
{
    TraceScope trace("FileCommands.FileOpen");
    // A merge keeps the titles in memory; an open replaces them.
    const bool merge = mode == LoadMode::Merge;
    if (!merge && !ReplaceAllowed(app))
        return false;
    FileDialogSpec dialog;
    dialog.title = "Folianto-Datei laden";
    dialog.filter = kFilter;
    if (merge) // an import: any file may hold a catalogue
        dialog.filter += "|Alle Dateien (*)|*";
    dialog.defaultExt = "FOL";
    dialog.pathMustExist = true;
    dialog.mustExist = true;
    dialog.createPrompt = true;
    const std::optional<std::string> chosen = app.ChooseFile(FileQuestion::Open, dialog);
    if (!chosen)
        return false;
    return FileOpenPath(app, *chosen, mode);
}

bool FileOpenPath(App& app, const std::string& path, LoadMode mode)
{
    TraceScope trace("FileCommands.FileOpenPath", path);
    if (!HasFolExtension(path) &&
        app.ui.message(MsgKind::Error, path + Cp1252(" enthält nicht den Standardsuffix \"FOL\"! Laden abbrechen?"),
                       Buttons::YesNo) == Answer::Yes)
        return false;

    std::string errParam;
    const bool loaded = Load_Buch_Data(app, path, errParam, mode);
    if (!loaded) {
        app.ui.message(MsgKind::Error, "Fehler beim Laden: " + GetErrorText(app.store.FehlerNr, errParam),
                       Buttons::Ok);
    } else {
        app.columns.ColumnsMoved = true;
        if (mode == LoadMode::Merge) {
            SetAusgabeData(app); // the current title stays current
            app.DataFileName.clear();
            app.store.MarkChanged();
        } else {
            ShowOpenedTitles(app);
            app.DataFileName = path;
        }
    }
    app.ui.repaint();
    return loaded;
}

void ShowOpenedTitles(App& app)
{
    if (app.LoadRecovered)
        SetAusgabeData(app);
    else
        ShowLoadedTitles(app);
}

bool FileMerge(App& app)
{
    TraceScope trace("FileCommands.FileMerge");
    // A load that failed names the merged file as the current one: that name
    // must not stay, or the next save would write the collection over that
    // file.
    struct Restore {
        App& app;
        std::string name;
        int32_t verMain, verMinor, count;
        bool merged = false;
        ~Restore()
        {
            if (merged)
                return;
            if (app.store.AnzBuch == count) { // nothing appended: the data are as before
                app.DataFileName = name;
                app.DataVerMain = verMain;
                app.DataVerMinor = verMinor;
            } else {
                app.DataFileName.clear();
                app.store.MarkChanged();
            }
        }
    } restore{app, app.DataFileName, app.DataVerMain, app.DataVerMinor, app.store.AnzBuch};
    TitleChange change(app.titleHistory, "Import aus Folianto-Datei");
    restore.merged = FileOpen(app, LoadMode::Merge);
    if (restore.merged)
        ShowImported(app, restore.count);
    return restore.merged;
}

bool FileSave(App& app)
{
    TraceScope trace("FileCommands.FileSave");
    std::string errParam;
    if (!Save_Buch_Data(app, app.DataFileName, errParam))
        return false;
    Saved(app, app.DataFileName);
    return true;
}

bool FileSaveAs(App& app)
{
    TraceScope trace("FileCommands.FileSaveAs");
    FileDialogSpec dialog;
    dialog.filter = kFilter;
    dialog.defaultExt = "FOL";
    dialog.overwritePrompt = true;
    dialog.pathMustExist = true;
    dialog.createPrompt = true;
    const std::optional<std::string> chosen = app.ChooseFile(FileQuestion::Save, dialog);
    if (!chosen)
        return false;
    const std::string& path = *chosen;
    if (!HasFolExtension(path)) {
        app.ui.message(MsgKind::Error,
                       path + Cp1252(" enthält nicht den Standardsuffix \"FOL\"! Speichern wird abgebrochen!"),
                       Buttons::Ok);
        return false;
    }
    // The chosen name becomes the current one only once the data are there:
    // after a failed save the next one must not aim at a file never written.
    std::string errParam;
    if (!Save_Buch_Data(app, path, errParam))
        return false;
    app.DataFileName = path;
    Saved(app, path);
    return true;
}

void NewDatabase(App& app)
{
    TraceScope trace("FileCommands.NeueDatei");
    EraseSemaphoreFile(app, app.DataFileName);
    app.recovery.Leave(app.store.Gesichert());
    app.store.Clear();
    app.DataFileName.clear();
    app.store.MarkSaved();
    app.titleHistory.Clear();
    ResetSelection(app);
    app.selection.SuchText.clear();
    app.grid.ResetToHeader();
    app.grid.NotifyReset();
    app.grid.NotifyStatus();
    const bool recovered = OfferRecovery(app, {});
    Fill_AllLists(app); // none of the last catalogue's names stay offered
    if (recovered)
        SetAusgabeData(app);
    app.ui.repaint();
}

bool EndAllowed(App& app)
{
    TraceScope trace("FileCommands.EndAllowed");
    const Answer answer = app.ui.message(MsgKind::Confirmation,
                                         "Folianto: Sicherheitssystem\r\n\r\n" +
                                             Cp1252("Die Buchdaten wurden geändert, aber noch nicht gesichert.\r\n"
                                                "Die Buchdaten jetzt sichern?"),
                                         Buttons::YesNoAbort);
    switch (answer) {
    case Answer::Yes:
        if (HasPrintable(app.DataFileName))
            FileSave(app);
        else
            FileSaveAs(app);
        return app.store.Gesichert();
    case Answer::No:
        return true;
    default:
        return false;
    }
}

bool ReplaceAllowed(App& app)
{
    return app.store.Gesichert() || EndAllowed(app);
}

} // namespace folianto
