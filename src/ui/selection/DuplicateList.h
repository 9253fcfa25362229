#pragma once
// "Doppelte Titel suchen": the pairs of the duplicate finder in the pick list;
// the ticked pairs are shown side by side in the grid.

#include "ui/help/HelpTopics.h"

class QWidget;

namespace folianto {

struct App;

constexpr int HelpContextDuplicates = HelpDuplicates;

// The whole command: search, pick (every pair ticked at first), show.
void RunDuplicateFinder(App& app, QWidget* parent);

} // namespace folianto
