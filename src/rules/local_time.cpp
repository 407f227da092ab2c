#include "rules/local_time.h"

#include "platform/platform.h"

std::optional<LocalMinute> LastMinute;

namespace {

constexpr std::int64_t kSecondsInADay = 24 * 60 * 60;

// Floored, so that a count before the origin still reads a time of day.
std::int64_t FlooredDivision(std::int64_t value, std::int64_t by) {
  return value / by - (value % by < 0 ? 1 : 0);
}

void WriteTwoDigits(int value, char* at) {
  at[0] = static_cast<char>('0' + value / 10 % 10);
  at[1] = static_cast<char>('0' + value % 10);
}

}  // namespace

LocalMinute CurrentLocalMinute() { return FlooredDivision(platform::LocalClockSeconds(), 60); }

// Digit by digit: the clock is read every second.
std::string LocalTimeText() {
  const std::int64_t seconds = platform::LocalClockSeconds();
  const std::int64_t of_day = seconds - FlooredDivision(seconds, kSecondsInADay) * kSecondsInADay;
  char text[] = "00:00:00";
  WriteTwoDigits(static_cast<int>(of_day / 3600), text);
  WriteTwoDigits(static_cast<int>(of_day / 60 % 60), text + 3);
  WriteTwoDigits(static_cast<int>(of_day % 60), text + 6);
  return text;
}

std::string MinuteText(LocalMinute minute) {
  const LocalMinute of_day = minute - FlooredDivision(minute, kMinutesInADay) * kMinutesInADay;
  char text[] = "00:00";
  WriteTwoDigits(static_cast<int>(of_day / 60), text);
  WriteTwoDigits(static_cast<int>(of_day % 60), text + 3);
  return text;
}
