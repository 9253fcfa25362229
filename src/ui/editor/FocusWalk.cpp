#include "ui/editor/FocusWalk.h"

namespace folianto {

namespace {

using C = EditControl;

C FirstFieldOf(EditPage page)
{
    switch (page) {
    case PageBibliothek: return C::RadioGroup_LiteraturTyp;
    case PageSchlagworte: return C::MemoSchlagworte;
    case PageIntern: return C::ComboBoxTyp;
    case PageBilder: return C::ButtonBildHinzufuegen;
    default: return C::ComboBoxAutor;
    }
}

bool JournalType(int32_t typ) { return typ == TypZeitschriftenaufsatz || typ == TypZeitungsartikel; }

} // namespace

std::optional<FocusRequest> WalkTarget(EditControl from, EditPage page, int32_t typ)
{
    switch (from) {
    case C::EditKuerzel:
        return FocusRequest{page, FirstFieldOf(page)};
    case C::OrgTitelEdit:
        if (typ == TypAudiovisuell)
            return FocusRequest{PageBibliothek, C::EditQuelle};
        return FocusRequest{PageBibliothek, JournalType(typ) ? C::ComboBoxZeitschrift : C::AusgabeEdit};
    case C::EditSeiten:
        if (typ == TypAudiovisuell || typ == TypUnklar)
            return std::nullopt; // the audio-visual group follows
        return FocusRequest{PageSchlagworte, C::MemoSchlagworte};
    case C::EditLaenge:
        if (typ == TypAudiovisuell || typ == TypUnklar)
            return FocusRequest{PageSchlagworte, C::MemoSchlagworte};
        return std::nullopt;
    case C::MemoBemerkung:
        return FocusRequest{PageIntern, C::ComboBoxTyp};
    case C::DateTimePickerKaufdatum:
        return FocusRequest{PageBilder, C::ButtonBildHinzufuegen};
    default:
        return std::nullopt;
    }
}

} // namespace folianto
