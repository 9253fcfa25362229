#pragma once
// The main window's status bar texts.

#include <array>
#include <string>

namespace folianto {

struct App;

constexpr int StatusPanelCount = 5;

struct StatusPanels {
    std::array<std::string, StatusPanelCount> Text; // Windows-1252
    std::array<int, StatusPanelCount> Width{};      // pixels: text width + 12, at least 50
};

// Program version, shown/total titles, database file, type-ahead text, empty.
StatusPanels ShowHint(const App& app);

} // namespace folianto
