#include "core/TitleStore.h"

#include "core/Codec.h"
#include "core/UserInteraction.h"
#include "core/Trace.h"

#include <algorithm>
#include <new>

namespace folianto {

TitleStore::TitleStore() : Buch(MaxBuch + 1) {}

bool TitleStore::NewBuch()
{
    if (AnzBuch >= MaxBuch) {
        FehlerNr = 13;
        return false;
    }
    std::unique_ptr<TBuch> b(new (std::nothrow) TBuch);
    if (!b) {
        FehlerNr = 5;
        return false;
    }
    ++AnzBuch;
    InitBuch(*b);
    // Grid rows find their titles by BuchNr, so a number must never repeat.
    highestBuchNr_ = std::max(highestBuchNr_ + 1, AnzBuch);
    b->BuchNr = highestBuchNr_;
    b->Showing = true;
    Buch[static_cast<std::size_t>(AnzBuch)] = std::move(b);
    UpdateBuchLengths(AnzBuch);
    if (observer_)
        observer_->Appended(AnzBuch);
    return true;
}

void TitleStore::InitBuch(TBuch& b)
{
    // TypNum is left alone: loading and the editor always set it.
    for (int f = 1; f <= TextFieldCount; ++f)
        b.TextField(f) = TBuchRec{};
    b.Auflage = -1;
    b.JahrNum = -1;
    b.Preis = -1.0f;
    b.Verleihstatus = 0;
    b.AnzPics = 0;
    b.Pics.clear();
    b.Kaufdatum = 0.0;
    b.BuchNr = -1;
}

bool TitleStore::UpdateBuchLengths(int32_t index)
{
    if (TBuch* b = at(index))
        for (int f = 1; f <= TextFieldCount; ++f) {
            TBuchRec& r = b->TextField(f);
            r.Len = static_cast<int32_t>(r.Text.size());
        }
    return true;
}

int32_t TitleStore::FindBuchByNr(int32_t nr) const
{
    for (int32_t i = 1; i <= AnzBuch; ++i)
        if (const TBuch* b = at(i); b && b->BuchNr == nr)
            return i;
    return -1;
}

void TitleStore::Clear()
{
    for (int32_t i = 1; i <= AnzBuch; ++i)
        Buch[static_cast<std::size_t>(i)].reset();
    AnzBuch = 0;
    highestBuchNr_ = 0;
    if (observer_)
        observer_->Cleared();
}

void TitleStore::DeleteActBuch()
{
    TraceScope trace("TitleStore.DeleteActBuch");
    if (ActBuch < 1 || ActBuch > AnzBuch)
        return;
    std::unique_ptr<TBuch> gone = TakeAt(ActBuch);
    if (observer_)
        observer_->Removed(ActBuch, std::move(gone));
}

void TitleStore::Touch(int32_t slot)
{
    if (observer_)
        observer_->Touching(slot);
}

bool TitleStore::InsertAt(int32_t slot, std::unique_ptr<TBuch> title)
{
    if (slot < 1 || slot > AnzBuch + 1 || AnzBuch >= MaxBuch)
        return false;
    for (int32_t i = AnzBuch; i >= slot; --i)
        Buch[static_cast<std::size_t>(i + 1)] = std::move(Buch[static_cast<std::size_t>(i)]);
    Buch[static_cast<std::size_t>(slot)] = std::move(title);
    ++AnzBuch;
    return true;
}

std::unique_ptr<TBuch> TitleStore::TakeAt(int32_t slot)
{
    if (slot < 1 || slot > AnzBuch)
        return nullptr;
    std::unique_ptr<TBuch> taken = std::move(Buch[static_cast<std::size_t>(slot)]);
    for (int32_t i = slot; i < AnzBuch; ++i)
        Buch[static_cast<std::size_t>(i)] = std::move(Buch[static_cast<std::size_t>(i + 1)]);
    Buch[static_cast<std::size_t>(AnzBuch)].reset();
    --AnzBuch;
    return taken;
}

TBuch* TitleStore::at(int32_t i)
{
    if (i < 1 || i > MaxBuch)
        return nullptr;
    return Buch[static_cast<std::size_t>(i)].get();
}

const TBuch* TitleStore::at(int32_t i) const
{
    if (i < 1 || i > MaxBuch)
        return nullptr;
    return Buch[static_cast<std::size_t>(i)].get();
}

bool DeleteAllowed(const TitleStore& store, UserInteraction& ui)
{
    const TBuch* b = store.at(store.ActBuch);
    const std::string kuerzel = b ? b->Kuerzel.Text : std::string();
    const std::string titel = b ? b->Titel.Text : std::string();
    TraceScope trace("FoliantoMainWindow.DeleteAllowed",
                     "ActBuch=" + std::to_string(store.ActBuch) + "\r\nTitel=" + titel);
    const std::string question = Cp1252("Folianto: Sicherheitssystem\r\n\r\nDer Titel [") + kuerzel +
                                 "], \"" + titel + Cp1252("\" soll gelöscht werden.\r\n") +
                                 Cp1252("Soll der Titel wirklich gelöscht werden?");
    return ui.message(MsgKind::Confirmation, question, Buttons::YesNo) == Answer::Yes;
}

} // namespace folianto
