// Which titles of a generated catalogue the grid shows and in which order,
// for every sort order and sort setting, a search in each field and a filter
// of each type and lending state, against an approved file.

#include "core/SampleCatalogue.h"
#include "selection/Selection.h"
#include "support/Fakes.h"
#include "support/Golden.h"

namespace folianto::test {
namespace {

std::string Shown(TestApp& t)
{
    std::string keys;
    for (int32_t slot : ChooseTitles(t.app.store, t.app.settings, t.app.lists, t.app.selection).Slots)
        keys += " " + t.app.store.at(slot)->Kuerzel.Text;
    return keys + "\n";
}

TEST(SelectionGolden, OrdersSearchesAndFilters)
{
    TestApp t;
    FillSampleCatalogue(t.app.store, 120, 31);
    Settings& s = t.app.settings;
    SelectionState& sel = t.app.selection;
    std::string out;
    for (int order = 0; order < SortOrderCount; ++order)
        for (bool caseSensitive : {true, false})
            for (bool byAE : {false, true})
                for (int length : {25, 2}) {
                    s.BuchSort = static_cast<uint8_t>(order);
                    s.CaseSensitiveSort = caseSensitive;
                    s.SortByAE = byAE;
                    s.SortLength = static_cast<uint8_t>(length);
                    out += "order " + std::to_string(order) + (caseSensitive ? " case" : "") + (byAE ? " ae" : "") +
                           " length " + std::to_string(length) + ":" + Shown(t);
                }

    s.BuchSort = SortEingabe;
    s.SortLength = 25;
    // A text in each of the ten search fields (upper and lower case alike).
    const char* needles[SearchFieldCount] = {"mann", "ein", "BAND", "rowo", "978-3-3",
                                             "der", "THE", "de", "Forsch", "geschichte"};
    sel.SuchenIn[0] = true;
    for (int k = 1; k <= SearchFieldCount; ++k) {
        sel.SuchenIn.fill(false);
        sel.SuchenIn[0] = sel.SuchenIn[static_cast<std::size_t>(k)] = true;
        sel.SuchText = needles[k - 1];
        out += "search " + std::to_string(k) + " " + sel.SuchText + ":" + Shown(t);
    }
    sel.SuchenIn.fill(false);

    sel.FilternVon[0] = true;
    for (int typ = 0; typ <= 8; ++typ) {
        sel.FilternVon[5] = true;
        sel.TypSet = 1u << typ;
        out += "type " + std::to_string(typ) + ":" + Shown(t);
    }
    sel.FilternVon[5] = false;
    for (uint32_t states : {1u, 2u, 4u, 8u, 6u}) {
        sel.FilternVon[8] = true;
        sel.VerleihSet = states;
        out += "lending " + std::to_string(states) + ":" + Shown(t);
    }
    ExpectGolden("sample-selection.txt", Cp1252ToUtf8(out));
}

} // namespace
} // namespace folianto::test
