#include "selection/Replace.h"

#include "core/Codec.h"
#include "core/Trace.h"
#include "workspace/Workspace.h"
#include "selection/Selection.h"

namespace folianto {

std::string AnsiUpperCase(std::string s)
{
    for (char& ch : s) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
            ch = static_cast<char>(c - 0x20);
        else if (c == 0x9A || c == 0x9C || c == 0x9E) // š œ ž
            ch = static_cast<char>(c - 0x10);
        else if (c == 0xFF) // ÿ
            ch = static_cast<char>(0x9F);
    }
    return s;
}

bool ReplaceAll(std::string& text, const std::string& search, const std::string& replacement, bool caseSensitive)
{
    if (search.empty())
        return false;
    const std::string key = caseSensitive ? search : AnsiUpperCase(search);
    const std::string insertKey = caseSensitive ? replacement : AnsiUpperCase(replacement);
    std::string compared = caseSensitive ? text : AnsiUpperCase(text);
    bool changed = false;
    std::size_t from = 0;
    for (std::size_t x; (x = compared.find(key, from)) != std::string::npos;) {
        if (SplitsReference(compared, x) || SplitsReference(compared, x + key.size())) {
            from = x + 1; // part of a character kept as a reference
            continue;
        }
        text.replace(x, search.size(), replacement);
        compared.replace(x, search.size(), insertKey);
        // Go on behind the inserted text: a replacement that contains the
        // search text must not be replaced again.
        from = x + replacement.size();
        changed = true;
    }
    return changed;
}

bool ReplaceInAllTitles(Workspace& ws)
{
    TraceScope trace("Replace.Ersetzen");
    SelectionState& sel = ws.selection;
    if (!sel.SuchenIn[0])
        return false;
    int32_t changed = 0;
    TitleStore& store = ws.store;
    TitleChange change(ws.titleHistory, "Ersetzen");
    std::vector<std::pair<int, std::string>> replaced;
    for (int32_t i = 1; i <= store.AnzBuch; ++i) {
        TBuch* b = store.at(i);
        if (!b)
            continue;
        // Replaced in copies first: only a title that changes is touched.
        replaced.clear();
        for (int k = 1; k <= SearchFieldCount; ++k) {
            if (!sel.SuchenIn[static_cast<std::size_t>(k)])
                continue;
            std::string text = SearchField(*b, k).Text;
            if (ReplaceAll(text, sel.SuchText, sel.Replace.ReplaceText, sel.Replace.CaseSensitive))
                replaced.emplace_back(k, std::move(text));
        }
        if (!replaced.empty()) {
            store.Touch(i);
            for (auto& [k, text] : replaced)
                SearchField(*b, k).Text = std::move(text);
            store.UpdateBuchLengths(i);
            ++changed;
        }
    }
    if (changed > 0) {
        sel.SuchenIn[0] = false;
        SetAusgabeData(ws);
        store.MarkChanged();
    }
    ws.ui.report(std::to_string(changed) + Cp1252(" Titel geändert"));
    return changed > 0;
}

} // namespace folianto
