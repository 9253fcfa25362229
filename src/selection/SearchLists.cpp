#include "selection/SearchLists.h"

namespace folianto {

void Fill_AllLists(App&) {}

} // namespace folianto
