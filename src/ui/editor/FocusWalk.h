#pragma once
// Enter and Tab in the title editor: where the focus goes besides the next
// control of the page.

#include "editor/BuchEditModel.h"

#include <optional>

namespace folianto {

// The page and control that Enter or Tab leads to from `from` on `page` for
// the literature type `typ`; nothing when the next control of the page follows.
std::optional<FocusRequest> WalkTarget(EditControl from, EditPage page, int32_t typ);

} // namespace folianto
