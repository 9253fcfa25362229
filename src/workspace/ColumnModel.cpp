#include "workspace/ColumnModel.h"

#include "config/Settings.h"
#include "core/Buch.h"
#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "core/ShellSort.h"

#include <algorithm>
#include <charconv>

namespace folianto {
namespace {
const char* const kDefaultHeaders[ColumnCount] = {
    "Kürzel", "Titel", "Autor", "Kategorie", "Sprache", "Typ", "Typ (freie Def.)", "Reihe",
    "Auflage", "1. Auflage aus dem Jahr", "Verlag", "Inhalt", "Bemerkung", "Schlagworte",
    "Standort", "Preis", "verliehen an", "Alt. Titel", "Anzahl Bilder", "Band", "Besitzer",
    "Heft-Nr.", "Herausgeber", "ISBN", "Jahr", "Jahrgang", "Kaufdatum", "Länge", "Medium",
    "Original-Titel", "Ort", "Quelle", "Seiten", "Link",
};

// Multi-line texts without their line breaks, or only their first line.
void MultiLine(const std::string& text, bool firstLineOnly, std::string& out)
{
    std::size_t brk = text.find_first_of("\r\n");
    if (brk == std::string::npos || firstLineOnly) {
        out.assign(text, 0, brk);
        return;
    }
    out.assign(text, 0, brk);
    for (std::size_t from = brk; from < text.size(); from = brk) {
        from = text.find_first_not_of("\r\n", from);
        if (from == std::string::npos)
            break;
        brk = text.find_first_of("\r\n", from);
        out.append(text, from, brk == std::string::npos ? std::string::npos : brk - from);
        if (brk == std::string::npos)
            break;
    }
}

// Fixed-point with two decimals and a point, whatever the locale.
void PriceText(double price, const std::string& currency, std::string& out)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, price, std::chars_format::fixed, 2);
    out.assign(buf, res.ptr);
    out += ' ';
    out += currency;
}

// Widest line of a header that may hold one CR LF.
int HeaderWidth(const TextMeasurer& m, std::string_view header)
{
    const std::size_t br = header.find("\r\n");
    if (br == std::string::npos)
        return m.TextWidth(header);
    return std::max(m.TextWidth(header.substr(0, br)), m.TextWidth(header.substr(br + 2)));
}
} // namespace

const char* ColumnModel::DefaultHeader(int index)
{
    return index >= 0 && index < ColumnCount ? kDefaultHeaders[index] : "";
}

ColumnModel::ColumnModel()
{
    for (int i = 0; i < DescriptorCount; ++i) {
        TCellRec& c = CellArray[static_cast<std::size_t>(i)];
        c.Header = Cp1252(DefaultHeader(i)); // texts are Windows-1252 in memory
        c.Info = c.Header;
        c.Pos = i;
        c.ShowCol = i != ColJahrErst;
        c.Width = -1;
        c.WidthOk = -1;
        c.ImportPos = i + 1;
    }
}

int ColumnModel::ShownCount() const
{
    int n = 0;
    for (int i = 0; i < ColumnCount; ++i)
        n += CellArray[static_cast<std::size_t>(i)].ShowCol ? 1 : 0;
    return n;
}

int ColumnModel::IndexOfHeader(std::string_view header) const
{
    for (int i = 0; i < ColumnCount; ++i)
        if (CellArray[static_cast<std::size_t>(i)].Header == header)
            return i;
    return -1;
}

int ColumnModel::IndexOfInfo(const std::string& info) const
{
    for (int i = 0; i < ColumnCount; ++i)
        if (CellArray[static_cast<std::size_t>(i)].Info == info)
            return i;
    return -1;
}

int ColumnModel::PosOfInfo(const std::string& info) const
{
    const int i = IndexOfInfo(info);
    if (i < 0 || !CellArray[static_cast<std::size_t>(i)].ShowCol)
        return -1;
    return CellArray[static_cast<std::size_t>(i)].Pos;
}

void ColumnModel::NormalizePositions()
{
    auto maxPos = [this] {
        int32_t m = -1;
        for (const auto& c : CellArray)
            m = std::max(m, c.Pos);
        return m;
    };
    for (auto& c : CellArray) {
        if (c.ShowCol && c.Pos == -1)
            c.Pos = maxPos() + 1;
        if (!c.ShowCol)
            c.Pos = -1;
    }
    // Close the gaps, keeping the relative order.
    int32_t m = maxPos();
    for (int32_t p = 0; p <= m; ++p) {
        auto taken = [this, p] {
            for (const auto& c : CellArray)
                if (c.Pos == p)
                    return true;
            return false;
        };
        while (p <= m && !taken()) {
            for (auto& c : CellArray)
                if (c.Pos > p)
                    --c.Pos;
            --m;
        }
    }
}

void ColumnModel::NormalizeColumnLayout(int screenWidth)
{
    TraceScope trace("ColumnModel.NormalizeColumnLayout");
    for (auto& c : CellArray) {
        if (c.Pos == -1) {
            c.ShowCol = false;
            c.Width = -1;
        }
        if (c.Width < 5 && c.Width != -1)
            c.Width = 50;
        else if (c.Width != -1 && c.Width > screenWidth - 25)
            c.Width = screenWidth - 25;
    }
    struct PosIndex {
        int32_t pos;
        int index;
    };
    std::vector<PosIndex> shown;
    for (int i = 0; i < ColumnCount; ++i) {
        const TCellRec& c = CellArray[static_cast<std::size_t>(i)];
        if (c.ShowCol && c.Pos != -1)
            shown.push_back({c.Pos, i});
    }
    if (shown.size() < 2)
        return;
    ShellSort(shown.data(), shown.size(), [](const PosIndex& a, const PosIndex& b) { return a.pos > b.pos; });
    for (std::size_t rank = 0; rank < shown.size(); ++rank)
        CellArray[static_cast<std::size_t>(shown[rank].index)].Pos = static_cast<int32_t>(rank);
}

void ColumnModel::InitHeaders(GridModel& grid, bool reset)
{
    TraceScope trace("ColumnModel.InitHeaders");
    grid.SetColCount(ShownCount());
    if (reset)
        grid.SetRowCount(2);
    int written = 0;
    for (int i = 0; i < ColumnCount; ++i) {
        const TCellRec& c = CellArray[static_cast<std::size_t>(i)];
        if (c.ShowCol && c.Pos >= 0) {
            grid.SetCell(c.Pos, 0, c.Header);
            ++written;
        }
    }
    for (int i = 0; i < ColumnCount; ++i) {
        TCellRec& c = CellArray[static_cast<std::size_t>(i)];
        if (c.ShowCol && c.Pos == -1) {
            c.Pos = written++;
            grid.SetCell(c.Pos, 0, c.Header);
        }
    }
    grid.NotifyReset();
}

void ColumnModel::Resort_BuchString_Headers_and_Pos(GridModel& grid)
{
    TraceScope trace("ColumnModel.Resort_BuchString_Headers_and_Pos");
    NormalizePositions();
    ColumnsMoved = false;
    NormalizeColumnLayout(grid.ScreenWidth);
    InitHeaders(grid, false);
}

void ColumnModel::TakeLayoutFromGrid(GridModel& grid, const Settings& settings)
{
    TraceScope trace("ColumnModel.TakeLayoutFromGrid");
    for (auto& c : CellArray)
        c.Pos = -1;
    for (int col = 0; col < grid.ColCount(); ++col) {
        const int d = IndexOfHeader(grid.Cell(col, 0));
        if (d < 0)
            continue;
        TCellRec& c = CellArray[static_cast<std::size_t>(d)];
        c.Pos = col;
        c.Width = grid.ColWidths[static_cast<std::size_t>(col)];
    }
    if (settings.UseMaxColWidth)
        for (auto& w : grid.ColWidths)
            w = std::min(w, settings.MaxColWidth);
    grid.NotifyReset();
}

void ColumnModel::ColumnDragged(int gridCol)
{
    const int k = IndexOfInfo(Cp1252("Kürzel"));
    if (k >= 0 && CellArray[static_cast<std::size_t>(k)].ShowCol && CellArray[static_cast<std::size_t>(k)].Pos == gridCol)
        return;
    ColumnsMoved = true;
}

void ColumnModel::CellText(const TBuch& b, int index, const CellTextFormat& format, std::string& out)
{
    switch (index) {
    case 0: out.assign(b.Kuerzel.Text); break;
    case 1: out.assign(b.Titel.Text); break;
    case 2: out.assign(b.Autor.Text); break;
    case 3: out.assign(b.Kategorie.Text); break;
    case 4: out.assign(b.Sprache.Text); break;
    case 5: out.assign(TypNumToName(b.TypNum)); break;
    case 6: out.assign(b.Typ.Text); break;
    case 7: out.assign(b.Reihe.Text); break;
    case 8:
        if (b.Auflage > 0)
            out.assign(IntToStr(b.Auflage));
        else
            out.clear();
        break;
    case 9: out.assign(b.Jahr.Text); break;
    case 10: out.assign(b.Verlag.Text); break;
    case 11: MultiLine(b.Inhalt.Text, format.ShowOnlyFirstLine, out); break;
    case 12: MultiLine(b.Bemerkung.Text, format.ShowOnlyFirstLine, out); break;
    case 13: out.assign(b.Schlagworte.Text); break;
    case 14: out.assign(b.Standort.Text); break;
    case 15:
        if (static_cast<double>(b.Preis) > 0.005)
            PriceText(static_cast<double>(b.Preis), b.Waehrung.Text, out);
        else
            out.clear();
        break;
    case 16: out.assign(b.VerliehenAn.Text); break;
    case 17: out.assign(b.AltTitel.Text); break;
    case 18: out.assign(IntToStr(b.AnzPics)); break;
    case 19: out.assign(b.Band.Text); break;
    case 20: out.assign(b.Besitzer.Text); break;
    case 21: out.assign(b.HeftNr.Text); break;
    case 22: out.assign(b.Herausgeber.Text); break;
    case 23: out.assign(b.ISBN.Text); break;
    case 24: out.assign(b.Jahr.Text); break;
    case 25: out.assign(IntToStr(b.JahrNum)); break;
    case 26:
        if (b.Kaufdatum > 1.0)
            out.assign(format.ShortDate && *format.ShortDate ? (*format.ShortDate)(b.Kaufdatum)
                                                             : SystemShortDate(b.Kaufdatum));
        else
            out.clear();
        break;
    case 27: out.assign(b.Laenge.Text); break;
    case 28: out.assign(b.Medium.Text); break;
    case 29: out.assign(b.OrigTitel.Text); break;
    case 30: out.assign(b.Ort.Text); break;
    case 31: out.assign(b.Quelle.Text); break;
    case 32: out.assign(b.Seiten.Text); break;
    case 33:
        if (b.TypNum & LinkFlag)
            out.assign("X");
        else
            out.clear();
        break;
    default: out.clear(); break; // the spare has no cell text
    }
}

std::string ColumnModel::CellText(const TBuch& b, int index, const CellTextFormat& format)
{
    std::string out;
    CellText(b, index, format, out);
    return out;
}

ColumnWidthFitter::ColumnWidthFitter(ColumnModel& columns, GridModel& grid, const Settings& settings)
    : columns_(columns), grid_(grid), measurer_(grid.Measurer()), maxChar_(grid.Measurer().MaxCharWidth()),
      autoMax_(grid.MaxAutoWidth()), auto_(settings.AutoOptColWidth), useMax_(settings.UseMaxColWidth), maxWidth_(settings.MaxColWidth)
{
    desc_.resize(static_cast<std::size_t>(grid.ColCount()));
    for (int c = 0; c < grid.ColCount(); ++c)
        desc_[static_cast<std::size_t>(c)] = columns.IndexOfHeader(grid.Cell(c, 0));
}

void ColumnWidthFitter::FitRow(int row)
{
    for (std::size_t c = 0; c < desc_.size(); ++c) {
        if (desc_[c] < 0)
            continue;
        TCellRec& rec = columns_.CellArray[static_cast<std::size_t>(desc_[c])];
        int32_t w = rec.Width;
        if (w == -1 || auto_) {
            const std::string_view text = grid_.Cell(static_cast<int>(c), row);
            // A text that cannot be wider than the column needs no measuring.
            const bool fits = maxChar_ > 0 &&
                              static_cast<long long>(text.size()) * maxChar_ + 10 <= static_cast<long long>(w);
            // Fitting never widens beyond autoMax_; a wider stored width stays.
            if (!fits && w < autoMax_) {
                const int tw = measurer_.TextWidth(text);
                if (tw + 10 > w)
                    w = std::min(tw + 10, autoMax_);
            }
            rec.Width = w;
            rec.WidthOk = useMax_ && auto_ ? (w > maxWidth_ ? 1 : 0) : -1;
        }
        grid_.ColWidths[c] = w;
    }
}

void ColumnWidthFitter::Finish()
{
    for (std::size_t c = 0; c < desc_.size(); ++c) {
        int32_t& w = grid_.ColWidths[c];
        if (auto_) {
            const int hw = HeaderWidth(measurer_, grid_.Cell(static_cast<int>(c), 0));
            if (hw > w)
                w = hw + 10;
        }
        if (useMax_ && w > maxWidth_) {
            w = maxWidth_;
            if (desc_[c] >= 0)
                columns_.CellArray[static_cast<std::size_t>(desc_[c])].Width = maxWidth_;
        }
    }
}

} // namespace folianto
