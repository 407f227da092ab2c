#include <time.h>

#include "platform/platform.h"

namespace platform {

// The zone's offset at this instant turns the system time into local
// reckoning, so a change of the zone's hour moves the count as it moves the
// clock.
std::int64_t LocalClockSeconds() {
  const time_t now = ::time(nullptr);
  struct tm local = {};
  if (::localtime_r(&now, &local) == nullptr) return now;
  return static_cast<std::int64_t>(now) + local.tm_gmtoff;
}

}  // namespace platform
