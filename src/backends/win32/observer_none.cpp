#include "backends/win32/observer.h"

namespace win32 {

void NotePlatformCall(const std::string&) {}

bool FixedLocalClock(std::int64_t&) { return false; }

}  // namespace win32
