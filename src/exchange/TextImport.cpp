#include "exchange/TextImport.h"

#include "core/Codec.h"
#include "core/ErrorText.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "editor/ShortKeys.h"
#include "exchange/ColumnFields.h"
#include "exchange/DateText.h"
#include "exchange/ImportDialogModel.h"
#include "application/App.h"

#include <QFile>

#include <cfloat>
#include <cmath>
#include <optional>

namespace folianto {
namespace {

bool IsBlankOrControl(unsigned char c)
{
    return c <= 0x20;
}

// True when the text holds nothing but blanks and control characters.
bool IsVoid(const std::string& s)
{
    for (unsigned char c : s)
        if (!IsBlankOrControl(c))
            return false;
    return true;
}

// Whole number of an import field, truncated towards zero; nothing when the
// value does not fit a 32-bit field.
std::optional<int32_t> ReadInteger(const std::string& field)
{
    const double v = std::trunc(ReadNumber(field));
    if (!std::isfinite(v) || v < INT32_MIN || v > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(v);
}

// Stores one field into the title as column `column` prescribes. A value
// that cannot be read leaves the title field as it is.
void StoreField(TBuch& b, int column, const std::string& field)
{
    if (TBuchRec* text = ColumnTextField(b, column)) {
        text->Text = field;
        return;
    }
    switch (column) {
    case cols::Typ:
        // The name table marks every type as linked; an imported title has no
        // linked document, so the flag is not taken over.
        b.TypNum = TypNameToNum(field) & ~LinkFlag;
        break;
    case cols::Auflage:
        if (auto v = ReadInteger(field))
            b.Auflage = *v;
        break;
    case cols::Jahrgang:
        if (auto v = ReadInteger(field))
            b.JahrNum = *v;
        break;
    case cols::Preis: {
        const double v = ReadNumber(field);
        if (std::isfinite(v) && std::fabs(v) <= FLT_MAX)
            b.Preis = static_cast<float>(v);
        break;
    }
    case cols::Kaufdatum:
        if (auto d = ShortTextToDate(field))
            b.Kaufdatum = *d;
        break;
    default:
        break;
    }
}

// The descriptor that claims field number `fieldNo` (1-based), or -1.
int ColumnOfField(const ColumnModel& columns, int fieldNo)
{
    for (int i = 0; i < DescriptorCount; ++i)
        if (columns.CellArray[static_cast<std::size_t>(i)].ImportPos == fieldNo)
            return i;
    return -1;
}

} // namespace

std::vector<std::string> SplitImportLine(const std::string& line, char delimiter)
{
    std::vector<std::string> fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && IsBlankOrControl(static_cast<unsigned char>(line[pos])))
            ++pos;
        const std::size_t end = line.find(delimiter, pos);
        if (end == std::string::npos) {
            fields.push_back(line.substr(pos));
            break;
        }
        fields.push_back(line.substr(pos, end - pos));
        pos = end + 1;
    }
    return fields;
}

bool ImportEntry(App& app, const std::string& line)
{
    TraceScope trace("ImportEntry");
    TitleStore& store = app.store;
    if (!store.NewBuch()) {
        app.ui.message(MsgKind::Error, "Konnte neuen Bucheintrag nicht anlegen.", Buttons::Ok);
        return false;
    }
    store.ActBuch = store.AnzBuch;
    TBuch& b = *store.current();
    b.TypNum = 8;

    const std::vector<std::string> fields = SplitImportLine(line, app.settings.ImpExp.Trennzeichen);
    for (std::size_t k = 0; k < fields.size(); ++k) {
        const int column = ColumnOfField(app.columns, static_cast<int>(k) + 1);
        if (column < 0) {
            WriteTrace("=> CellArray[i].ImportPos: nicht auswertbar!");
            continue;
        }
        if (column > 32 || column == cols::AnzahlBilder || IsVoid(fields[k]))
            continue;
        StoreField(b, column, fields[k]);
    }

    if (app.settings.KuerzelZwang) {
        if (IsVoid(b.Kuerzel.Text)) {
            WriteTrace(Cp1252("ImportEntry: Kürzel fehlt!"));
            Kuerzel_erzeugen(app);
        } else {
            b.Kuerzel.Text = MakeUniqueKuerzel(app, store.AnzBuch);
        }
    }
    store.UpdateBuchLengths(store.AnzBuch);
    return true;
}

std::vector<std::string> SplitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        const std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos)
            end = bytes.size();
        if (end > pos && bytes[end - 1] == '\r')
            --end;
        lines.push_back(bytes.substr(pos, end - pos));
        pos = next;
    }
    return lines;
}

void AfterImport(App& app)
{
    app.store.Gesichert = false;
    app.columns.ColumnsMoved = true;
    SetAusgabeData(app);
    Fill_AllLists(app);
}

bool ImportTextFile(App& app, const std::string& path)
{
    TraceScope trace("Import.ImportTextFile", path);
    QFile file(PathFromCp1252(path));
    if (!file.open(QIODevice::ReadOnly)) {
        app.ui.message(MsgKind::Error, GetErrorText(3, path), Buttons::Ok);
        return false;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        app.ui.message(MsgKind::Error, GetErrorText(3, path), Buttons::Ok);
        return false;
    }
    file.close();

    const int32_t before = app.store.AnzBuch;
    bool ok = true;
    const std::vector<std::string> lines = SplitLines(std::string(data.constData(), static_cast<std::size_t>(data.size())));
    const int32_t skip = app.settings.ImpExp.Kopfzeilen;
    for (std::size_t n = 1; ok && n <= lines.size(); ++n) {
        if (static_cast<int64_t>(n) <= skip)
            continue;
        if (!ImportEntry(app, lines[n - 1])) {
            WriteTrace("Import.ImportTextFile: Zeile " + std::to_string(n) + " nicht importiert");
            ok = false;
        }
    }

    if (!ok)
        app.ui.message(MsgKind::Error, "Fehler beim Importieren aus " + path + "!", Buttons::Ok);
    // Titles added before a failure stay; they are unsaved data and shown.
    if (ok || app.store.AnzBuch > before)
        AfterImport(app);
    return ok;
}

bool ImportFromText(App& app, const ImportDialogRunner& runDialog)
{
    TraceScope trace("FoliantoMainWindow.ImportFromText");
    ImportDialogModel model(app, ImportDialogModel::TextMode);
    if (!runDialog(model))
        return false;
    FileDialogSpec dialog;
    dialog.filter = "Text-Dateien (*.TXT)|*.TXT";
    dialog.defaultExt = "TXT";
    dialog.mustExist = true;
    const std::optional<std::string> path = app.ui.openFile(dialog);
    if (!path) {
        app.Inform(MsgKind::Warning, Cp1252("Keine Datei ausgewählt!"));
        return false;
    }
    return ImportTextFile(app, *path);
}

} // namespace folianto
