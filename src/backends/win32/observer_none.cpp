#include "backends/win32/observer.h"

namespace win32 {

void NotePlatformCall(const std::string&) {}

bool FixedClockTime(std::string&) { return false; }

}  // namespace win32
