#include "diag/TraceLog.h"

namespace folianto {

void TraceLog::WriteTraceLevel(int, const std::string&) {}

} // namespace folianto
