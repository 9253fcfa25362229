#pragma once
// The picture page of the title editor as plain values: ten slots (one per
// tab), what each shows, and the rules of the page's buttons. The widget
// shows the slots and forwards clicks; decoding lives in PictureDecoding.h.

#include "core/Buch.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace folianto {

class UserInteraction;

constexpr int MaxPictures = 10;

// TPicRec::Kind: the low seven bits are the format, bits 7 and 8 the storage.
enum PicKind : int32_t {
    PicJpg = 1,   // JPEG named ".JPG"
    PicJpeg = 2,  // JPEG named ".JPEG"
    PicBmp = 4,
    PicEmf = 8,
    PicWmf = 16,
    PicEmbedded = 128, // the picture file lies in Data
    PicLinked = 256,   // BildTitel is the path of the picture file
};

int32_t PicFormat(int32_t kind);
// Storage bits; none counts as embedded.
int32_t PicStorage(int32_t kind);
// Everything but embedded is a link: the file keeps Data only for kinds 0..255.
inline bool IsLinkedKind(int32_t kind) { return PicStorage(kind) != PicEmbedded; }
bool IsKnownPicFormat(int32_t format);
// Format of a file by its upper-cased extension; 0 when not supported.
int32_t PicFormatOfPath(const std::string& path);
// ".JPG", ".JPEG", ".BMP", ".EMF", ".WMF"; empty for others.
std::string PicExtension(int32_t format);

// Largest picture the data file takes back on loading (its block limit).
constexpr int32_t MaxEmbeddedPictureBytes = 1000000 - 1;
// Linked files are read for showing only up to this size.
constexpr int64_t MaxLinkedPictureBytes = 64 * 1024 * 1024;

// One picture tab.
struct PictureSlot {
    int32_t Kind = 0;          // 0: the tab shows no picture (and is hidden)
    std::string Title;         // the title field: caption, or the full path of a link
    std::vector<uint8_t> Data; // embedded: the whole picture file
    bool HasPicture() const { return Kind != 0; }
    bool IsLinked() const { return IsLinkedKind(Kind); }
};

// What the size label shows for the current tab.
struct PictureSizeLabel {
    std::string Text;         // "Größe: 12 kB", or "Datei fehlt"
    bool FileMissing = false; // shown red and bold
    std::string Hint;         // for a missing file: what to do
};

// The file dialog filter of the page's save dialog, in this order.
extern const char* const PictureSaveFilter;
// Index of a format's entry in PictureSaveFilter; -1 for others.
int PictureSaveFilterIndex(int32_t format);
extern const char* const PictureOpenFilter;

class PictureSlots {
public:
    explicit PictureSlots(UserInteraction& ui) : ui_(ui) { Reset(); }

    std::array<PictureSlot, MaxPictures> Slots;
    bool PicsChanged = false;      // a picture was added or deleted
    bool PicTitlesChanged = false; // a title field was edited
    // Byte size of each tab's picture; -1 = none or the linked file is missing.
    std::array<int32_t, MaxPictures> PicFileSizes{};
    int Current = 0;       // the current tab, 0..9
    int StorageIndex = 0;  // the " Bild speichern ... " radio: 0 in the data file, 1 as link

    // Every tab empty and hidden, sizes -1, nothing changed.
    void Reset();
    // Shows the pictures of a title, from the first entry up to an embedded
    // one without data. False when an entry's format cannot be shown.
    bool Show(const TBuch& b);

    // "Bild hinzufügen" / "Bild als Link hinzufügen": the open dialog, then AddFile.
    bool AddPicture(bool asLink);
    // Puts the file on the first free tab; false (message shown) when refused.
    bool AddFile(const std::string& path, bool asLink);
    // "Bild löschen": the current tab loses its picture.
    void DeleteCurrent();
    // The user typed in the title field of `slot`.
    void TitleEdited(int slot, const std::string& text);
    // The user picked a storage radio item; it snaps back with an error box.
    void StorageClicked(int index);
    // The user made `slot` the current tab.
    void SelectTab(int slot);
    // "Bild speichern unter".
    void SaveCopy();

    // The first tab without picture; -1 when all are used.
    int FirstFreeSlot() const;
    bool TitleEnabled() const;
    PictureSizeLabel SizeLabel() const;

    // Writes the tabs back into `b`, which showed them (Show) unless it is a
    // fresh copy. Unchanged pictures keep their entries as they are.
    void WriteTo(TBuch& b, bool freshRecord) const;

private:
    UserInteraction& ui_;
    // Entries Show did not put on a tab (behind an embedded one without data);
    // kept so that rewriting the tabs does not drop them.
    std::vector<TPicRec> notShown_;
};

// Bytes of a tab's picture as the decoders want them: an embedded picture's
// Data, or a linked file's content (nothing when missing, unreadable or too big).
std::optional<std::vector<uint8_t>> PictureBytes(const PictureSlot& slot);

} // namespace folianto
