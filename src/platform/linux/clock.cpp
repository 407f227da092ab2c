#include <time.h>

#include <cstdio>

#include "platform/platform.h"

namespace platform {

std::string LocalTimeText() {
  const time_t now = ::time(nullptr);
  struct tm local = {};
  if (::localtime_r(&now, &local) == nullptr) return "00:00:00";
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

}  // namespace platform
