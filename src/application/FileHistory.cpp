#include "application/FileHistory.h"

#include "core/Text.h"
#include "core/Trace.h"

#include <algorithm>

namespace folianto {

bool FileHistory::Add2History(const std::string& path)
{
    TraceScope trace("FileHistory.Add2History");
    if (!HasPrintable(path))
        return false;
    if (std::find(Paths.begin(), Paths.end(), path) != Paths.end())
        return false;
    while (static_cast<int>(Paths.size()) >= MaxHistory)
        Paths.pop_back();
    Paths.insert(Paths.begin(), path);
    return true;
}

} // namespace folianto
