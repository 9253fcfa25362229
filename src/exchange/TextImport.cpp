#include "exchange/TextImport.h"

#include "core/Codec.h"
#include "core/ErrorText.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "editor/ShortKeys.h"
#include "exchange/ColumnFields.h"
#include "exchange/DateText.h"
#include "exchange/ImportDialogModel.h"
#include "workspace/Workspace.h"
#include "selection/Selection.h"
#include "selection/SearchLists.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <optional>

namespace folianto {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

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
        // A Tab delimiter is a control character, yet it ends an empty field.
        while (pos < line.size() && line[pos] != delimiter && IsBlankOrControl(static_cast<unsigned char>(line[pos])))
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

bool ImportEntry(Workspace& ws, const std::string& line)
{
    TraceScope trace("ImportEntry");
    TitleStore& store = ws.store;
    if (!store.NewBuch()) {
        ws.ui.message(MsgKind::Error, "Konnte neuen Bucheintrag nicht anlegen.", Buttons::Ok);
        return false;
    }
    store.ActBuch = store.AnzBuch;
    TBuch& b = *store.current();
    b.TypNum = 8;

    const std::vector<std::string> fields = SplitImportLine(line, ws.settings.ImpExp.Trennzeichen);
    for (std::size_t k = 0; k < fields.size(); ++k) {
        const int column = ColumnOfField(ws.columns, static_cast<int>(k) + 1);
        if (column < 0) {
            WriteTrace("=> CellArray[i].ImportPos: nicht auswertbar!");
            continue;
        }
        if (column > 32 || column == cols::AnzahlBilder || IsVoid(fields[k]))
            continue;
        StoreField(b, column, fields[k]);
    }

    if (ws.settings.KuerzelZwang) {
        if (IsVoid(b.Kuerzel.Text)) {
            WriteTrace(Cp1252("ImportEntry: Kürzel fehlt!"));
            Kuerzel_erzeugen(ws.store, ws.settings);
        } else {
            b.Kuerzel.Text = MakeUniqueKuerzel(ws.store, ws.settings, store.AnzBuch);
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

void AfterImport(Workspace& ws, int32_t before)
{
    ws.store.MarkChanged();
    ws.columns.ColumnsMoved = true;
    // Lists first: a value the import brought in is then a ticked entry.
    Fill_AllLists(ws);
    ShowImported(ws, before);
}

void ShowImported(Workspace& ws, int32_t before)
{
    const int32_t imported = ws.store.AnzBuch - before;
    if (imported > 0)
        ws.store.ActBuch = before + 1;
    SetAusgabeData(ws);
    ws.ui.report(std::to_string(std::max(imported, 0)) + " Titel importiert");
}

DetectedEncoding DetectTextEncoding(std::string_view bytes)
{
    if (bytes.substr(0, 3) == kUtf8Bom)
        return {TextEncoding::Utf8, true};
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii)
        return {};
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoder.hasError())
        return {};
    return {TextEncoding::Utf8, false};
}

std::string DecodeImportText(std::string_view bytes, TextEncoding encoding)
{
    if (encoding == TextEncoding::Windows1252)
        return std::string(bytes);
    if (bytes.substr(0, 3) == kUtf8Bom)
        bytes.remove_prefix(3);
    return Utf8ToCp1252(std::string(bytes));
}

std::string DelimiterName(char delimiter)
{
    return delimiter == '\t' ? "Tab" : std::string(1, delimiter);
}

char DelimiterOfText(const std::string& text)
{
    std::string trimmed;
    for (char c : text)
        if (!IsBlankOrControl(static_cast<unsigned char>(c)))
            trimmed += c;
    if (UpperAscii(trimmed) == "TAB")
        return '\t';
    return trimmed.empty() ? '\0' : trimmed[0];
}

std::optional<HeaderAssignment> AssignByHeaderLine(const ColumnModel& columns, const std::string& line,
                                                   char preferred)
{
    // Column names compared without case and surrounding blanks.
    const auto key = [](const std::string& text) {
        std::size_t from = 0, to = text.size();
        while (from < to && IsBlankOrControl(static_cast<unsigned char>(text[from])))
            ++from;
        while (to > from && IsBlankOrControl(static_cast<unsigned char>(text[to - 1])))
            --to;
        return UpperAscii(text.substr(from, to - from));
    };
    const auto columnNamed = [&](const std::string& name) {
        for (int i = 0; i < ColumnCount; ++i) {
            const TCellRec& c = columns.CellArray[static_cast<std::size_t>(i)];
            if (i != ColAnzahlBilder && i != ColLink && (key(c.Header) == name || key(c.Info) == name))
                return i;
        }
        return -1;
    };
    for (const char delimiter : {preferred, '\t', ';', ',', '|', '$'}) {
        if (delimiter == '\0' || line.find(delimiter) == std::string::npos)
            continue;
        HeaderAssignment found{delimiter, {}};
        const std::vector<std::string> fields = SplitImportLine(line, delimiter);
        int named = 0;
        bool all = true;
        for (std::size_t k = 0; k < fields.size() && all; ++k) {
            const std::string name = key(fields[k]);
            if (name.empty())
                continue;
            const int column = columnNamed(name);
            all = column >= 0 && found.Positions[static_cast<std::size_t>(column)] == 0;
            if (all) {
                found.Positions[static_cast<std::size_t>(column)] = static_cast<int32_t>(k) + 1;
                ++named;
            }
        }
        if (all && named >= 2)
            return found;
    }
    return std::nullopt;
}

std::optional<std::string> ReadImportFile(Workspace& ws, const std::string& path)
{
    QFile file(PathFromCp1252(path));
    if (!file.open(QIODevice::ReadOnly)) {
        ws.ui.message(MsgKind::Error, GetErrorText(3, path), Buttons::Ok);
        return std::nullopt;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        ws.ui.message(MsgKind::Error, GetErrorText(3, path), Buttons::Ok);
        return std::nullopt;
    }
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

bool ImportTextFile(Workspace& ws, const std::string& path)
{
    TraceScope trace("TextImport.ImportTextFile", path);
    const std::optional<std::string> bytes = ReadImportFile(ws, path);
    if (!bytes)
        return false;
    return ImportText(ws, path, DecodeImportText(*bytes, DetectTextEncoding(*bytes).Encoding));
}

bool ImportText(Workspace& ws, const std::string& path, const std::string& text)
{
    TraceScope trace("TextImport.ImportText", path);
    TitleChange change(ws.titleHistory, "Import aus " + ExtractFileName(path));
    const int32_t before = ws.store.AnzBuch;
    bool ok = true;
    const std::vector<std::string> lines = SplitLines(text);
    const int32_t skip = ws.settings.ImpExp.Kopfzeilen;
    for (std::size_t n = 1; ok && n <= lines.size(); ++n) {
        if (static_cast<int64_t>(n) <= skip)
            continue;
        if (!ImportEntry(ws, lines[n - 1])) {
            WriteTrace("TextImport.ImportTextFile: Zeile " + std::to_string(n) + " nicht importiert");
            ok = false;
        }
    }

    if (!ok)
        ws.ui.message(MsgKind::Error, "Fehler beim Importieren aus " + path + "!", Buttons::Ok);
    // Titles added before a failure stay; they are unsaved data and shown.
    if (ok || ws.store.AnzBuch > before)
        AfterImport(ws, before);
    return ok;
}

bool ImportFromText(Workspace& ws, const ImportDialogRunner& runDialog)
{
    TraceScope trace("TextImport.ImportFromText");
    // The file comes first: the dialog shows how it reads it.
    FileDialogSpec dialog;
    dialog.filter = "Text-Dateien (*.txt *.csv *.tsv)|*.txt *.csv *.tsv|Alle Dateien (*)|*";
    dialog.defaultExt = "TXT";
    dialog.mustExist = true;
    const std::optional<std::string> path = ws.ChooseFile(FileQuestion::Open, dialog);
    if (!path)
        return false;
    const std::optional<std::string> bytes = ReadImportFile(ws, *path);
    if (!bytes)
        return false;
    ImportDialogModel model(ws, ImportDialogModel::TextMode);
    model.SetTextFile(*path, *bytes);
    if (!runDialog(model))
        return false;
    return ImportText(ws, *path, DecodeImportText(*bytes, model.Encoding));
}

} // namespace folianto
