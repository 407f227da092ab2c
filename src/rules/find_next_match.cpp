#include "rules/find_next_match.h"

#include "platform/platform.h"
#include "rules/clock_digits.h"
#include "rules/local_time.h"
#include "rules/evaluate_rules.h"
#include "settings/settings.h"

namespace {

constexpr int kMinutesPerDay = 24 * 60;

void WriteCandidate(int minute_of_day, std::string& candidate) {
  const int hour = minute_of_day / 60, minute = minute_of_day % 60;
  candidate[0] = static_cast<char>('0' + hour / 10);
  candidate[1] = static_cast<char>('0' + hour % 10);
  candidate[3] = static_cast<char>('0' + minute / 10);
  candidate[4] = static_cast<char>('0' + minute % 10);
}

}  // namespace

std::optional<NextMatch> FindNextMatch(Rule rule, bool allow_24_hour_trial) {
  const bool try_12_hour = Settings.Hour12 == 1;
  const bool try_24_hour = allow_24_hour_trial && Settings.Hour24 == 1;
  if (!try_12_hour && !try_24_hour) return std::nullopt;

  const std::optional<ClockDigits> now = ClockDigitsFromText(LocalTimeText());
  const int start = now ? (HourOf(*now) * 60 + MinuteOf(*now)) % kMinutesPerDay : 0;
  SaySwitches say{};
  say[rule] = 1;
  // One buffer for every candidate keeps the search free of allocations.
  std::string candidate = "00:00";
  for (int step = 0; step < kMinutesPerDay; ++step) {
    const int minute_of_day = (start + step) % kMinutesPerDay;
    WriteCandidate(minute_of_day, candidate);
    const bool in_12_hour = try_12_hour && !EvaluateRules(candidate, say, 1, 0).empty();
    if (in_12_hour || (try_24_hour && !EvaluateRules(candidate, say, 0, 1).empty()))
      return NextMatch{minute_of_day / 60, minute_of_day % 60, in_12_hour};
  }
  return std::nullopt;
}
