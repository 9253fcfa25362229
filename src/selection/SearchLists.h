#pragma once
// Search lists built from the titles (keywords, authors, publishers, ...).

namespace folianto {

struct App;

class SearchLists {
public:
};

// Rebuilds every search list from the title store.
void Fill_AllLists(App& app);

} // namespace folianto
