#include <windows.h>

#include <cstdio>

#include "platform/platform.h"
#include "backends/win32/observer.h"

namespace platform {

std::string LocalTimeText() {
  std::string fixed;
  if (win32::FixedClockTime(fixed)) return fixed;
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  char text[16];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u", unsigned{now.wHour}, unsigned{now.wMinute},
                unsigned{now.wSecond});
  return text;
}

}  // namespace platform
