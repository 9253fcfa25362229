#include "selection/KeywordSets.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "workspace/Workspace.h"

#include <algorithm>
#include <unordered_map>

namespace folianto {
namespace {

// Entry index by text; texts are unique within a list.
std::unordered_map<std::string, std::size_t> EntryIndex(const SearchList& list)
{
    std::unordered_map<std::string, std::size_t> index;
    index.reserve(list.entries.size());
    for (std::size_t i = 0; i < list.entries.size(); ++i)
        index.emplace(list.entries[i].Text, i);
    return index;
}

} // namespace

void MarkGroup(SearchList& keywords, const std::vector<KeywordItem>& items, int32_t group)
{
    const auto index = EntryIndex(keywords);
    for (const auto& item : items) {
        if (!item.Checked || !item.Enabled)
            continue;
        const auto it = index.find(item.Text);
        if (it != index.end())
            keywords.entries[it->second].Group = group;
    }
}

void ClearGroups(SearchLists& lists, KeywordSets& sets)
{
    sets.GroupCounter = 0;
    for (auto& e : lists.SchlagworteSearchList.entries)
        e.Group = 0;
}

void BeginNarrowing(SearchLists& lists, KeywordSets& sets, std::vector<KeywordItem>& items)
{
    TraceScope trace("KeywordSets.BeginNarrowing");
    if (sets.GroupCounter == 0) {
        sets.GroupCounter = 1;
        MarkGroup(lists.SchlagworteSearchList, items, 1);
    }
    for (auto& item : items)
        if (item.Checked)
            item.Enabled = false;
}

bool CloseNarrowingStage(Workspace& ws, const std::vector<KeywordItem>& items)
{
    TraceScope trace("KeywordSets.CloseNarrowingStage");
    if (ws.lists.SchlagworteSearchList.SearchListAllActive())
        return false;
    BusyCursor busy(ws.ui);
    ++ws.keywordSets.GroupCounter;
    MarkGroup(ws.lists.SchlagworteSearchList, items, ws.keywordSets.GroupCounter);
    return true;
}

void ApplyTicks(SearchList& keywords, const std::vector<KeywordItem>& items)
{
    const auto index = EntryIndex(keywords);
    for (const auto& item : items) {
        const auto it = index.find(item.Text);
        if (it != index.end())
            keywords.entries[it->second].Active = item.Checked;
    }
}

bool SaveKeywordSet(Workspace& ws, const std::string& name, const std::vector<KeywordItem>& items)
{
    TraceScope trace("KeywordSets.SaveKeywordSet");
    BusyCursor busy(ws.ui);
    auto& rows = ws.keywordSets.Rows;
    const std::string upper = UpperAscii(name);
    const auto existing = std::find_if(rows.begin(), rows.end(), [&upper](const auto& row) {
        return !row.empty() && UpperAscii(row[0]) == upper;
    });
    bool saved = true;
    if (existing != rows.end()) {
        const std::string question = "Es existiert bereits eine Liste mit der\r\nBezeichnung \"" + name +
                                     "\"!\r\n\r\n" + Cp1252("Soll diese Liste überschrieben werden?");
        if (ws.ui.message(MsgKind::Confirmation, question, Buttons::YesNo) == Answer::Yes)
            rows.erase(existing);
        else
            saved = false;
    }
    if (saved) {
        std::vector<std::string> row{name};
        for (const auto& item : items)
            if (item.Checked)
                row.push_back(item.Text);
        rows.push_back(std::move(row));
    }
    ApplyTicks(ws.lists.SchlagworteSearchList, items);
    return saved;
}

bool KeywordSetLoadAllowed(Workspace& ws)
{
    if (!ws.lists.SchlagworteSearchList.SearchListAllActive())
        return true;
    ws.ui.message(MsgKind::Warning,
                   Cp1252("Warnung!\r\n\r\nEs sind bereits/noch alle Schlagworte angewählt!\r\n"
                          "Daher können keine weiteren Schlagworte dazugewählt werden!"),
                   Buttons::Ok);
    return false;
}

std::vector<std::string> KeywordSetNames(const KeywordSets& sets)
{
    std::vector<std::string> names;
    for (const auto& row : sets.Rows)
        if (!row.empty())
            names.push_back(row[0]);
    std::sort(names.begin(), names.end());
    return names;
}

void LoadKeywordSet(Workspace& ws, const std::string& name, std::vector<KeywordItem>& items)
{
    TraceScope trace("KeywordSets.LoadKeywordSet");
    BusyCursor busy(ws.ui);
    const auto& rows = ws.keywordSets.Rows;
    const auto set = std::find_if(rows.begin(), rows.end(),
                                  [&name](const auto& row) { return !row.empty() && row[0] == name; });
    if (set != rows.end()) {
        // First item of each text, as the check list finds it.
        std::unordered_map<std::string, std::size_t> itemIndex;
        for (std::size_t i = 0; i < items.size(); ++i)
            itemIndex.emplace(items[i].Text, i);
        for (std::size_t k = 1; k < set->size(); ++k) {
            const auto it = itemIndex.find((*set)[k]);
            if (it != itemIndex.end())
                items[it->second].Checked = true;
        }
    }
    ApplyTicks(ws.lists.SchlagworteSearchList, items);
}

int32_t MaxGroup(const SearchList& list)
{
    int32_t g = 0;
    for (const auto& e : list.entries)
        g = std::max(g, e.Group);
    return g;
}

} // namespace folianto
