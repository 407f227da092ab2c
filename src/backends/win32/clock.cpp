#include <windows.h>

#include <cstdio>

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
// minute begins, so the local hour and minute are taken once per UTC minute,
// from that same instant, and the seconds are the system's. A time zone the
// user changes mid-minute shows from the next minute on.
std::string LocalTimeText() {
  std::string fixed;
  if (win32::FixedClockTime(fixed)) return fixed;
  thread_local ULONGLONG converted_minute = ~0ULL;
  thread_local SYSTEMTIME local = {};
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  const ULONGLONG seconds = Ticks(now) / kFileTimeTicksPerSecond;
  if (seconds / 60 != converted_minute) {
    FILETIME local_time;
    if (!::FileTimeToLocalFileTime(&now, &local_time) || !::FileTimeToSystemTime(&local_time, &local))
      ::GetLocalTime(&local);
    else
      converted_minute = seconds / 60;
  }
  char text[16];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u", unsigned{local.wHour},
                unsigned{local.wMinute}, static_cast<unsigned>(seconds % 60));
  return text;
}

}  // namespace platform
