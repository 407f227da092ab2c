#include <windows.h>

#include "platform/platform.h"
#include "backends/win32/observer.h"

namespace platform {

namespace {

constexpr ULONGLONG kFileTimeTicksPerSecond = 10000000;  // FILETIME counts 100 ns

ULONGLONG Ticks(const FILETIME& time) {
  return (ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

}  // namespace

// The clock is read every second. Turning the time into local time costs
// Wine some 30 µs once the second has changed (it looks at the time zone
// again), a third of an idle tick, while the system time costs 0.1 µs. Every
// zone is a whole number of minutes from UTC and changes its offset only as a
// minute begins, so the zone's offset is taken once per UTC minute and added
// to the system time. A time zone the user changes mid-minute shows from the
// next minute on. FILETIME counts from a midnight (1601-01-01), as the
// count must.
std::int64_t LocalClockSeconds() {
  std::int64_t fixed;
  if (win32::FixedLocalClock(fixed)) return fixed;
  thread_local ULONGLONG converted_minute = ~0ULL;
  thread_local LONGLONG offset_seconds = 0;
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  const ULONGLONG seconds = Ticks(now) / kFileTimeTicksPerSecond;
  if (seconds / 60 != converted_minute) {
    FILETIME local_time;
    if (::FileTimeToLocalFileTime(&now, &local_time)) {
      offset_seconds = static_cast<LONGLONG>(Ticks(local_time) / kFileTimeTicksPerSecond) -
                       static_cast<LONGLONG>(seconds);
      converted_minute = seconds / 60;
    }
  }
  return static_cast<std::int64_t>(seconds) + offset_seconds;
}

}  // namespace platform
