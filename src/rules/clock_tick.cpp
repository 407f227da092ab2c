#include "rules/clock_tick.h"

#include "announce/announcer.h"
#include "announce/sound_task.h"
#include "platform/control_ids.h"
#include "platform/platform.h"
#include "rules/clock_digits.h"
#include "rules/evaluate_rules.h"
#include "rules/hover_display.h"
#include "settings/settings.h"
#include "text/number_text.h"

std::string LastMinute;

namespace {

std::string ClockMinute() { return platform::LocalTimeText().substr(0, 5); }

}  // namespace

void ClockTick(int timer_id) {
  if (timer_id != kClockTimerId) return;
  if (ClockMinute() == LastMinute) return;
  // The hover display owns the clock label; its minute is processed once the
  // hover ends, since LastMinute stays behind.
  if (HoverControl != 0) return;
  // A sound effect still playing holds the new minute back, as it did when
  // it played on this thread: the minute then current is processed once the
  // sound has ended.
  if (SoundBusyCount > 0) return;

  // Set before announcing: an alarm box keeps timer events coming, and the
  // nested ticks of this same minute must find it done.
  LastMinute = ClockMinute();
  const std::string announcement =
      EvaluateRules(LastMinute, Settings.Say, Settings.Hour12, Settings.Hour24);
  if (!announcement.empty()) Announce(announcement);

  // Read again: an alarm's box may have been open for minutes.
  const std::string label = ClockMinute();
  platform::SetControlText(ClockDisplay, Settings.Hour12 == 1 ? TwelveHourLabel(label) : label);
}

std::string TwelveHourLabel(const std::string& hh_mm) {
  const std::optional<ClockDigits> time = ClockDigitsFromText(hh_mm);
  if (hh_mm.size() != 5 || !time) return hh_mm;
  return NumberToText(TwelveHour(HourOf(*time))) + hh_mm.substr(2);
}
