#include "editor/ShortKeys.h"

#include "shell/App.h"

namespace folianto {

std::string MakeUniqueKuerzel(App& app, int32_t index)
{
    const TBuch* b = app.store.at(index);
    return b ? b->Kuerzel.Text : std::string();
}

void Kuerzel_erzeugen(App&) {}

} // namespace folianto
