#include "editor/PictureSlots.h"

#include "core/Codec.h"
#include "core/ErrorText.h"
#include "core/Text.h"
#include "core/UserInteraction.h"
#include "core/Trace.h"
#include "platform/ReplacementFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace folianto {

const char* const PictureSaveFilter =
    "JPEG-Graphik-Dateien (*.jpg)|*.jpg|JPEG-Graphik-Dateien (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|"
    "Erweiterte Metadateien (*.emf)|*.emf|Metadateien (*.wmf)|*.wmf";
const char* const PictureOpenFilter =
    "Alle Graphik-Dateien (*.jpg;*.jpeg;*.bmp;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp;*.emf;*.wmf|"
    "JPEG-Graphik-Dateien (*.jpg;*.jpeg)|*.jpg;*.jpeg|Bitmaps (*.bmp)|*.bmp|"
    "Erweiterte Metadateien (*.emf)|*.emf|Metadateien (*.wmf)|*.wmf";

namespace {

struct FormatEntry {
    int32_t format;
    const char* extension;
};
constexpr FormatEntry Formats[] = {
    {PicJpg, ".JPG"}, {PicJpeg, ".JPEG"}, {PicBmp, ".BMP"}, {PicEmf, ".EMF"}, {PicWmf, ".WMF"},
};

int32_t ClampedSize(int64_t size) { return size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(size); }

// Size of an existing regular file; nothing when it is missing.
std::optional<int64_t> FileSize(const std::string& path)
{
    const QFileInfo info(PathFromCp1252(path));
    if (path.empty() || !info.isFile())
        return std::nullopt;
    return info.size();
}

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, int64_t maxBytes)
{
    QFile file(PathFromCp1252(path));
    if (path.empty() || !file.open(QIODevice::ReadOnly) || file.size() > maxBytes)
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() != file.size())
        return std::nullopt;
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// File name without folder and extension.
std::string BaseName(const std::string& path)
{
    const std::string name = ExtractFileName(path);
    return name.substr(0, name.size() - ExtractFileExt(name).size());
}

} // namespace

int32_t PicFormat(int32_t kind) { return kind & ~(PicEmbedded | PicLinked); }

int32_t PicStorage(int32_t kind)
{
    const int32_t storage = kind & ~0x7F;
    return storage == 0 ? PicEmbedded : storage;
}

bool IsKnownPicFormat(int32_t format) { return !PicExtension(format).empty(); }

int32_t PicFormatOfPath(const std::string& path)
{
    const std::string ext = UpperAscii(ExtractFileExt(path));
    for (const FormatEntry& f : Formats)
        if (ext == f.extension)
            return f.format;
    return 0;
}

std::string PicExtension(int32_t format)
{
    for (const FormatEntry& f : Formats)
        if (format == f.format)
            return f.extension;
    return {};
}

int PictureSaveFilterIndex(int32_t format)
{
    for (int i = 0; i < static_cast<int>(std::size(Formats)); ++i)
        if (Formats[i].format == format)
            return i;
    return -1;
}

void PictureSlots::Reset()
{
    TraceScope trace("PictureSlots.Reset");
    Slots.fill(PictureSlot{});
    PicFileSizes.fill(-1);
    PicsChanged = false;
    PicTitlesChanged = false;
    Current = 0;
    StorageIndex = 0;
    notShown_.clear();
}

bool PictureSlots::Show(const TBuch& b)
{
    TraceScope trace("PictureSlots.Show");
    const int count = static_cast<int>(std::min<std::size_t>(
        {static_cast<std::size_t>(std::max(b.AnzPics, 0)), b.Pics.size(), std::size_t{MaxPictures}}));
    int i = 0;
    for (; i < count; ++i) {
        const TPicRec& pic = b.Pics[static_cast<std::size_t>(i)];
        const bool linked = IsLinkedKind(pic.Kind);
        if (!linked && pic.Data.empty())
            break;
        if (!IsKnownPicFormat(PicFormat(pic.Kind)))
            return false;
        PictureSlot& slot = Slots[static_cast<std::size_t>(i)];
        slot.Kind = pic.Kind;
        slot.Title = pic.BildTitel.Text;
        if (linked) {
            const std::optional<int64_t> size = FileSize(pic.BildTitel.Text);
            PicFileSizes[static_cast<std::size_t>(i)] = size ? ClampedSize(*size) : -1;
            WriteTrace("PictureSlots.Show\r\nBild " + IntToStr(i + 1) + ": Datei=" + pic.BildTitel.Text +
                       (size ? "" : " (fehlt)"));
        } else {
            slot.Data = pic.Data;
            PicFileSizes[static_cast<std::size_t>(i)] = static_cast<int32_t>(slot.Data.size());
            WriteTrace("PictureSlots.Show\r\nBild " + IntToStr(i + 1) + " aus dem Speicher (" +
                       IntToStr(static_cast<long long>(slot.Data.size())) + " Bytes)");
        }
    }
    // Entries behind an embedded one without data stay out of sight; they
    // must survive a rewrite of the tabs (the empty entry itself goes).
    notShown_.clear();
    for (int k = i + 1; k < count; ++k)
        notShown_.push_back(b.Pics[static_cast<std::size_t>(k)]);
    SelectTab(0);
    return true;
}

int PictureSlots::FirstFreeSlot() const
{
    for (int i = 0; i < MaxPictures; ++i)
        if (!Slots[static_cast<std::size_t>(i)].HasPicture())
            return i;
    return -1;
}

bool PictureSlots::AddPicture(bool asLink)
{
    TraceScope trace("PictureSlots.AddPicture");
    if (FirstFreeSlot() < 0) {
        ui_.message(MsgKind::Error, Cp1252("Es können höchstens 10 Bilder zu einem Titel gespeichert werden!"),
                    Buttons::Ok);
        return false;
    }
    FileDialogSpec dialog;
    dialog.title = Cp1252(asLink ? "Bild als Link hinzufügen" : "Bild hinzufügen");
    dialog.filter = PictureOpenFilter;
    dialog.mustExist = true;
    dialog.pathMustExist = true;
    const std::optional<std::string> path = ui_.openFile(dialog);
    if (!path)
        return false;
    return AddFile(*path, asLink);
}

bool PictureSlots::AddFile(const std::string& path, bool asLink)
{
    TraceScope trace("PictureSlots.AddFile", path);
    const int slotIndex = FirstFreeSlot();
    if (slotIndex < 0)
        return false;
    const int32_t format = PicFormatOfPath(path);
    if (format == 0) {
        ui_.message(MsgKind::Error, Cp1252("Nicht unterstütztes Graphik-Format!"), Buttons::Ok);
        return false;
    }
    const std::optional<int64_t> size = FileSize(path);
    PictureSlot slot;
    if (!asLink) {
        // The data file refuses larger blocks when it is loaded again.
        if (size && *size > MaxEmbeddedPictureBytes) {
            ui_.message(MsgKind::Error,
                        Cp1252("Das Bild ist zu groß für die Daten-Datei (höchstens 976 kB)!\r\n"
                               "Bitte fügen Sie es als Link hinzu."),
                        Buttons::Ok);
            return false;
        }
        std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path, MaxEmbeddedPictureBytes);
        if (!bytes || bytes->empty()) {
            ui_.message(MsgKind::Error, GetErrorText(3, "\"" + path + "\""), Buttons::Ok);
            return false;
        }
        slot.Data = std::move(*bytes);
    }
    slot.Kind = format + (asLink ? PicLinked : PicEmbedded);
    slot.Title = asLink ? path : BaseName(path);
    Slots[static_cast<std::size_t>(slotIndex)] = std::move(slot);
    PicFileSizes[static_cast<std::size_t>(slotIndex)] = size ? ClampedSize(*size) : -1;
    PicsChanged = true;
    SelectTab(slotIndex);
    return true;
}

void PictureSlots::DeleteCurrent()
{
    TraceScope trace("PictureSlots.DeleteCurrent");
    PictureSlot& slot = Slots[static_cast<std::size_t>(Current)];
    if (!slot.HasPicture())
        return;
    slot = PictureSlot{};
    PicFileSizes[static_cast<std::size_t>(Current)] = -1;
    PicsChanged = true;
    // The tab hides; the page moves to the nearest picture left of it, else right.
    for (int i = Current - 1; i >= 0; --i)
        if (Slots[static_cast<std::size_t>(i)].HasPicture())
            return SelectTab(i);
    for (int i = Current + 1; i < MaxPictures; ++i)
        if (Slots[static_cast<std::size_t>(i)].HasPicture())
            return SelectTab(i);
    SelectTab(Current);
}

void PictureSlots::TitleEdited(int slot, const std::string& text)
{
    if (slot < 0 || slot >= MaxPictures || Slots[static_cast<std::size_t>(slot)].Title == text)
        return;
    Slots[static_cast<std::size_t>(slot)].Title = text;
    PicTitlesChanged = true;
}

void PictureSlots::StorageClicked(int index)
{
    TraceScope trace("PictureSlots.StorageClicked");
    const int fixed = IsLinkedKind(Slots[static_cast<std::size_t>(Current)].Kind) ? 1 : 0;
    StorageIndex = fixed;
    if (index == fixed)
        return;
    ui_.message(MsgKind::Error,
                Cp1252("Diese Einstellung kann nur beim Hinzufügen eines Bildes festgelegt werden!"), Buttons::Ok);
}

void PictureSlots::SelectTab(int slot)
{
    if (slot < 0 || slot >= MaxPictures)
        return;
    Current = slot;
    StorageIndex = IsLinkedKind(Slots[static_cast<std::size_t>(slot)].Kind) ? 1 : 0;
}

bool PictureSlots::TitleEnabled() const
{
    const PictureSlot& slot = Slots[static_cast<std::size_t>(Current)];
    return slot.HasPicture() && !slot.IsLinked();
}

PictureSizeLabel PictureSlots::SizeLabel() const
{
    const PictureSlot& slot = Slots[static_cast<std::size_t>(Current)];
    const int32_t size = PicFileSizes[static_cast<std::size_t>(Current)];
    PictureSizeLabel label;
    label.Text = Cp1252("Größe:");
    if (!slot.HasPicture())
        return label;
    if (size >= 0) {
        label.Text += " " + IntToStr((static_cast<int64_t>(size) + 512) / 1024) + " kB";
    } else if (slot.IsLinked()) {
        label.Text = "Datei fehlt";
        label.FileMissing = true;
        label.Hint = Cp1252("Fehler in der Bild-Anzeige!\r\n\r\nKonnte die Datei \"") + slot.Title +
                     Cp1252("\" nicht finden!\r\n\r\nBitte, stellen Sie die Datei wieder her oder \r\n"
                            "löschen Sie die Verknüpfung auf der Bild-Registerseite.");
    }
    return label;
}

void PictureSlots::SaveCopy()
{
    TraceScope trace("PictureSlots.SaveCopy");
    const PictureSlot& slot = Slots[static_cast<std::size_t>(Current)];
    const int32_t format = PicFormat(slot.Kind);
    if (!slot.HasPicture() || !IsKnownPicFormat(format))
        return;
    if (slot.IsLinked()) {
        ui_.message(MsgKind::Information,
                    "Das Bild ist bereits im Pfad\r\n\"" + ExtractFilePath(slot.Title) + "\"\r\nals \"" +
                        ExtractFileName(slot.Title) + "\" gespeichert.\r\n\r\nBitte, kopieren Sie das Bild dort.",
                    Buttons::Ok);
        return;
    }
    const std::string ext = PicExtension(format);
    FileDialogSpec dialog;
    dialog.title = "Bild speichern unter";
    dialog.filter = PictureSaveFilter;
    dialog.filterIndex = PictureSaveFilterIndex(format);
    dialog.defaultExt = ext.substr(1);
    dialog.initialPath = ExtractFileName(slot.Title) + ext;
    dialog.overwritePrompt = true;
    int chosenFilter = dialog.filterIndex;
    const std::optional<std::string> chosen = ui_.saveFileWithFilter(dialog, chosenFilter);
    if (!chosen)
        return;
    // The bytes are the picture file itself, so its type cannot change.
    const std::string target = ChangeFileExt(*chosen, ext);
    FileError why;
    if (!ReplaceFileContent(PathFromCp1252(target), reinterpret_cast<const char*>(slot.Data.data()),
                            slot.Data.size(), why)) {
        WriteTrace("PictureSlots.SaveCopy\r\nFehler beim Schreiben von " + target);
        ui_.message(MsgKind::Error, WithReason(GetErrorText(9, "\"" + target + "\""), why), Buttons::Ok);
        return;
    }
    if (chosenFilter != dialog.filterIndex)
        ui_.message(MsgKind::Error,
                    "Der Graphik-Typ kann leider nicht ge\xE4ndert werden!\r\nDie Datei wurde mit der Endung \"" +
                        ext + "\" gespeichert.",
                    Buttons::Ok);
}

void PictureSlots::WriteTo(TBuch& b, bool freshRecord) const
{
    TraceScope trace("PictureSlots.WriteTo");
    if (PicsChanged || freshRecord) {
        b.Pics.clear();
        for (int i = 0; i < MaxPictures; ++i) {
            const PictureSlot& slot = Slots[static_cast<std::size_t>(i)];
            if (!IsKnownPicFormat(PicFormat(slot.Kind)))
                continue;
            TPicRec pic;
            pic.Kind = slot.Kind;
            if (slot.IsLinked()) {
                const int32_t size = PicFileSizes[static_cast<std::size_t>(i)];
                pic.Size = size < 0 ? 0 : size;
            } else {
                pic.Data = slot.Data;
                pic.Size = static_cast<int32_t>(pic.Data.size());
            }
            pic.BildTitel.Text = slot.Title;
            pic.BildTitel.Len = static_cast<int32_t>(slot.Title.size());
            b.Pics.push_back(std::move(pic));
        }
        if (!freshRecord)
            for (const TPicRec& pic : notShown_)
                if (b.Pics.size() < MaxPictures)
                    b.Pics.push_back(pic);
        b.AnzPics = static_cast<int32_t>(b.Pics.size());
    } else if (PicTitlesChanged) {
        std::size_t next = 0;
        for (const PictureSlot& slot : Slots) {
            if (!IsKnownPicFormat(PicFormat(slot.Kind)))
                continue;
            if (next >= b.Pics.size())
                break;
            b.Pics[next].BildTitel.Text = slot.Title;
            b.Pics[next].BildTitel.Len = static_cast<int32_t>(slot.Title.size());
            ++next;
        }
    }
}

std::optional<std::vector<uint8_t>> PictureBytes(const PictureSlot& slot)
{
    if (!slot.HasPicture())
        return std::nullopt;
    if (!slot.IsLinked())
        return slot.Data;
    return ReadFileBytes(slot.Title, MaxLinkedPictureBytes);
}

} // namespace folianto
