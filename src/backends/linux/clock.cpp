#include <time.h>

#include "platform/platform.h"

namespace platform {

std::string LocalTimeText() {
  const time_t now = ::time(nullptr);
  struct tm local = {};
  if (::localtime_r(&now, &local) == nullptr) return "00:00:00";
  // Digit by digit: the clock asks every second, and a formatted print
  // takes some 2,000 instructions of each tick.
  char text[] = "00:00:00";
  const int fields[] = {local.tm_hour, local.tm_min, local.tm_sec};
  for (int i = 0; i < 3; ++i) {
    text[i * 3] = static_cast<char>('0' + fields[i] / 10 % 10);
    text[i * 3 + 1] = static_cast<char>('0' + fields[i] % 10);
  }
  return text;
}

}  // namespace platform
