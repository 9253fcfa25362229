#pragma once
// Short citation keys (Kuerzel).

#include <cstdint>
#include <string>

namespace folianto {

struct App;

// A short key for the title at `index` that no other title uses.
std::string MakeUniqueKuerzel(App& app, int32_t index);
// Gives the current title, whose key is blank, a free key from its author.
void Kuerzel_erzeugen(App& app);

} // namespace folianto
