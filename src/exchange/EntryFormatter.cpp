#include "exchange/EntryFormatter.h"

#include "core/Buch.h"
#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "exchange/DateText.h"
#include "workspace/Workspace.h"
#include "selection/Selection.h"

#include <QString>

namespace folianto {
namespace {

// Slots in the order in which they compete for a place; a slot wins a place
// when it is the first in this order holding it.
constexpr std::array<int, ExportSlotCount> kSlotOrder = {
    0, 1, 2, 3, 4, 5, 6, 15, 8, 9, 10, 11, 12, 13, 14, 7, 16,
    17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32,
};

bool IsBlankOrControl(unsigned char c)
{
    return c <= 0x20;
}

void Append(ExportEntry& e, const std::string& piece)
{
    e.Text += piece;
    ++e.Parts;
}

} // namespace

std::string PriceText(float preis)
{
    if (!(preis > 0.005f))
        return {};
    // QString::number keeps the point whatever the process locale (a GUI run
    // takes the user's, where printf would write a comma).
    return QString::number(static_cast<double>(preis), 'f', 2).toStdString();
}

std::string ExportSlotText(const TBuch& b, int slot)
{
    switch (slot) {
    case 0: return "[" + b.Kuerzel.Text + "]";
    case 1: return b.Autor.Text;
    case 2: return b.Herausgeber.Text;
    case 3: return b.Titel.Text;
    case 4: return b.OrigTitel.Text;
    case 5: return b.AltTitel.Text;
    case 6: return b.Sprache.Text;
    case 7: return b.Seiten.Text;
    case 8: return b.Verlag.Text;
    case 9: return b.ISBN.Text;
    case 10: return b.Besitzer.Text;
    case 11: return b.Reihe.Text;
    case 12: return b.Jahr.Text.empty() ? IntToStr(b.JahrNum) : b.Jahr.Text;
    case 13: return b.HeftNr.Text;
    case 14: return b.Band.Text;
    case 15: return b.Ort.Text;
    case 16: return b.Typ.Text;
    case 17: return b.Kategorie.Text;
    case 18: return b.Inhalt.Text;
    case 19: return b.Bemerkung.Text;
    case 20: return b.Standort.Text;
    case 21: return b.Schlagworte.Text;
    case 22: return b.Quelle.Text;
    case 23: return b.Medium.Text;
    case 24: return b.Laenge.Text;
    case 25: return b.VerliehenAn.Text;
    case 26: return b.Waehrung.Text;
    case 27: return IntToStr(b.Auflage);
    case 28: return IntToStr(b.Verleihstatus);
    case 29: return IntToStr(b.JahrNum);
    case 30: return PriceText(b.Preis);
    case 31: return IntToStr(b.TypNum);
    case 32: return b.Kaufdatum > 1.0 ? DateToShortText(b.Kaufdatum) : std::string();
    default: return {};
    }
}

ExportEntry FormatPredefinedEntry(const TBuch& b)
{
    ExportEntry e;
    e.Text.reserve(128);
    e.Text = "[" + b.Kuerzel.Text + "]  " + b.Autor.Text + ": " + b.Titel.Text + "; ";
    e.Parts = 3;
    switch (b.TypNum & ~LinkFlag) {
    case 0: case 1: case 3: case 7: case 8:
        if (b.Auflage > 0) Append(e, IntToStr(b.Auflage) + ", ");
        if (b.JahrNum > 0) Append(e, IntToStr(b.JahrNum) + ", ");
        if (!b.Verlag.Text.empty()) Append(e, b.Verlag.Text + ", ");
        if (!b.Band.Text.empty()) Append(e, "Band " + b.Band.Text + ", ");
        if (!b.Seiten.Text.empty()) Append(e, " Seiten: " + b.Seiten.Text);
        break;
    case 2:
        if (!b.Reihe.Text.empty()) Append(e, b.Reihe.Text + ", ");
        if (!b.Verlag.Text.empty()) Append(e, b.Verlag.Text + ", ");
        if (b.JahrNum > 0) Append(e, IntToStr(b.JahrNum));
        if (!b.Seiten.Text.empty()) Append(e, " Seiten: " + b.Seiten.Text);
        break;
    case 4: case 5:
        if (!b.Reihe.Text.empty()) Append(e, b.Reihe.Text + ", ");
        if (b.JahrNum > 0) Append(e, IntToStr(b.JahrNum) + ", ");
        if (!b.Band.Text.empty()) Append(e, "Band " + b.Band.Text + ", ");
        if (!b.Seiten.Text.empty()) Append(e, "Seiten: " + b.Seiten.Text);
        break;
    case 6:
        e.Text += b.Quelle.Text + ", " + b.Laenge.Text;
        e.Parts += 2;
        break;
    default:
        break;
    }
    // A trailing ", " is dropped; the "; " after the title stays.
    const std::size_t n = e.Text.size();
    if (n >= 2 && e.Text[n - 2] == ',')
        e.Text.resize(n - 2);
    return e;
}

ExportEntry FormatSelectionEntry(const TBuch& b, const std::array<int32_t, ExportSlotCount>& exportPos)
{
    ExportEntry e;
    for (int place = 1; place <= ExportSlotCount; ++place)
        for (int slot : kSlotOrder)
            if (exportPos[static_cast<std::size_t>(slot)] == place) {
                e.Text += "; ";
                Append(e, ExportSlotText(b, slot));
                break;
            }
    if (!e.Text.empty() && e.Text[0] == ';') {
        std::size_t start = 1;
        while (start < e.Text.size() && IsBlankOrControl(static_cast<unsigned char>(e.Text[start])))
            ++start;
        e.Text.erase(0, start);
    }
    return e;
}

ExportEntry FormatEntry(const Workspace& ws, int32_t index)
{
    if (index < 1 || index > ws.store.AnzBuch)
        return {};
    const TBuch* b = ws.store.at(index);
    if (!b)
        return {};
    return ws.settings.VorgegExportAuswahl ? FormatPredefinedEntry(*b)
                                            : FormatSelectionEntry(*b, ws.settings.ExportPos);
}

bool ExportSelectionOk(Workspace& ws)
{
    TraceScope trace("EntryFormatter.ExportSelectionOk");
    if (ws.settings.VorgegExportAuswahl)
        return true;
    for (int32_t v : ws.settings.ExportPos)
        if (v > 0)
            return true;
    ws.ui.message(MsgKind::Information,
                   "Unter Optionen wurde keine eigene Export-Auswahl festgelegt.\r\n"
                   "Daher wird nun auch nichts exportiert!",
                   Buttons::Ok);
    return false;
}

void CopyEntryToClipboard(Workspace& ws)
{
    TraceScope trace("EntryFormatter.CopyEntryToClipboard");
    if (!ExportSelectionOk(ws))
        return;
    GetCurrentBuch(ws);
    if (!ws.store.at(ws.store.ActBuch) || ws.store.ActBuch > ws.store.AnzBuch)
        return;
    ws.ui.setClipboardText(FormatEntry(ws, ws.store.ActBuch).Text);
}

} // namespace folianto
