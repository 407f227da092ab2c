#include "rules/evaluate_rules.h"

#include <optional>

#include "platform/platform.h"
#include "rules/alarm_rules.h"
#include "rules/clock_digits.h"
#include "rules/local_time.h"
#include "rules/digit_rules.h"
#include "rules/outcome.h"

namespace {

// Reads the clock at most once per evaluation, and only for a rule that
// needs it, so the next-match search makes no platform calls at all.
class ClockReading {
 public:
  const std::optional<ClockDigits>& Now() {
    if (!read_) {
      now_ = ClockDigitsFromText(LocalTimeText());
      read_ = true;
    }
    return now_;
  }

 private:
  bool read_ = false;
  std::optional<ClockDigits> now_;
};

bool Is420(const ClockDigits& now) { return HourOf(now) == 16 && MinuteOf(now) == 20; }

}  // namespace

std::string EvaluateRules(const std::string& time_text, const SaySwitches& say,
                          std::int32_t hour12, std::int32_t hour24) {
  ClockReading clock;
  const std::optional<ClockDigits> time =
      time_text.empty() ? clock.Now() : ClockDigitsFromText(time_text);

  Outcome outcome;
  if (time) outcome = EvaluateDigitRules(*time, say, hour12 == 1, hour24 == 1);

  // 4:20 goes by the clock, whatever time is asked about.
  if (say[Say420] == 1 && clock.Now() && Is420(*clock.Now()))
    outcome = Outcome{Say420, "4 20", false};

  for (const Rule alarm : {SayAlarm1, SayAlarm2}) {
    if (say[alarm] != 1 || !clock.Now() || !AlarmIsDue(alarm, *clock.Now())) continue;
    // A text that is no clock time has nothing to say, so the clock says it.
    outcome = Outcome{alarm, AlarmWords(time ? *time : *clock.Now(), hour12 == 1), true};
  }
  return OutcomeText(outcome);
}
