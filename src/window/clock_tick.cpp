#include "window/clock_tick.h"

#include <algorithm>
#include <deque>
#include <optional>

#include "announce/announcer.h"
#include "announce/sound_task.h"
#include "platform/control_ids.h"
#include "platform/platform.h"
#include "rules/alarm_rules.h"
#include "rules/clock_digits.h"
#include "rules/evaluate_rules.h"
#include "rules/hover_display.h"
#include "rules/local_time.h"
#include "settings/settings.h"
#include "text/number_text.h"

namespace {

// An alarm whose minute passed longer ago than this is no news.
constexpr LocalMinute kLatestMissedAlarm = 12 * 60;

// What the tick knows beyond LastMinute. The clock can skip minutes (a
// pointer resting on a rule, a process stopped or asleep, the clock moved
// on, a long sound), and an alarm must ring all the same.
struct AlarmMemory {
  // Every alarm due at this minute or before has rung or has been let go.
  std::optional<LocalMinute> seen_through;
  // This minute's own alarm rang while a rule was hovered: the full
  // processing of the minute, after the hover, must not ring it again.
  std::optional<LocalMinute> rung_while_hovering;
  // Alarms found due, each rung by a tick of its own so that a second one
  // rings from inside the first one's box.
  std::deque<Rule> due;
};

AlarmMemory alarms;

// The latest minute up to `last` that `alarm` is set for.
LocalMinute LatestAlarmMinute(Rule alarm, LocalMinute last) {
  const LocalMinute set_for = AlarmMinuteOfDay(alarm);
  const LocalMinute back = ((last - set_for) % kMinutesInADay + kMinutesInADay) % kMinutesInADay;
  return last - back;
}

// Queues the switched-on alarms whose minute fell after what was seen and up
// to `last`, within twelve hours of `now`, oldest first. Two alarms set for
// the same minute ring as one, the second, as they do in the minute itself.
void QueueAlarmsDueBy(LocalMinute last, LocalMinute now) {
  // Ticking with no start: nothing went by unseen.
  if (!alarms.seen_through) alarms.seen_through = now - 1;
  // A clock set back starts afresh, as every minute it shows is new.
  if (*alarms.seen_through > now) alarms.seen_through = now - 1;
  const LocalMinute first = std::max(*alarms.seen_through + 1, now - kLatestMissedAlarm);
  if (last < first) return;
  std::optional<LocalMinute> alarm1, alarm2;
  if (Settings.Say[SayAlarm1] == 1) alarm1 = LatestAlarmMinute(SayAlarm1, last);
  if (Settings.Say[SayAlarm2] == 1) alarm2 = LatestAlarmMinute(SayAlarm2, last);
  if (alarm1 && (*alarm1 < first || alarm1 == alarm2)) alarm1.reset();
  if (alarm2 && *alarm2 < first) alarm2.reset();
  if (alarm1 && alarm2 && *alarm2 < *alarm1) {
    alarms.due.push_back(SayAlarm2);
    alarms.due.push_back(SayAlarm1);
  } else {
    if (alarm1) alarms.due.push_back(SayAlarm1);
    if (alarm2) alarms.due.push_back(SayAlarm2);
  }
  if ((alarm1 == now || alarm2 == now) && last == now) alarms.rung_while_hovering = now;
  alarms.seen_through = last;
}

// Rings the oldest queued alarm in the words of the minute it rings at.
void RingDueAlarm() {
  const Rule alarm = alarms.due.front();
  alarms.due.pop_front();
  const std::optional<ClockDigits> now = ClockDigitsFromText(LocalTimeText());
  if (now) Announce(AlarmAnnouncement(alarm, *now, Settings.Hour12 == 1));
}

void WriteClockLabel() {
  const std::string label = LocalTimeText().substr(0, 5);
  platform::SetControlText(ClockDisplay, Settings.Hour12 == 1 ? TwelveHourLabel(label) : label);
}

}  // namespace

void ClockTick(int timer_id) {
  if (timer_id != kClockTimerId) return;
  // A sound effect still playing holds the clock, as it did when it played
  // on this thread; alarms whose minute it covered ring right after it.
  if (SoundBusyCount > 0) return;
  const LocalMinute now = CurrentLocalMinute();
  // A hover holds the other rules' minutes, never an alarm's: the alarm
  // of the minute itself rings too, and the label stays the hover's.
  const bool hovering = HoverControl != 0;
  QueueAlarmsDueBy(hovering ? now : now - 1, now);
  if (!alarms.due.empty()) {
    RingDueAlarm();
    return;
  }
  if (LastMinute == now || hovering) return;

  // Set before announcing: an alarm box keeps timer events coming, and the
  // nested ticks of this same minute must find it done.
  LastMinute = now;
  alarms.seen_through = now;
  SaySwitches say = Settings.Say;
  if (alarms.rung_while_hovering == now) say[SayAlarm1] = say[SayAlarm2] = 0;
  alarms.rung_while_hovering.reset();
  const std::string announcement =
      EvaluateRules(MinuteText(now), say, Settings.Hour12, Settings.Hour24);
  if (!announcement.empty()) Announce(announcement);

  // Read again: an alarm's box may have been open for minutes.
  WriteClockLabel();
}

void StartClockTick() {
  if (!alarms.seen_through) alarms.seen_through = CurrentLocalMinute() - 1;
}

void ResetClockTick() {
  LastMinute.reset();
  alarms = AlarmMemory{};
}

std::string TwelveHourLabel(const std::string& hh_mm) {
  const std::optional<ClockDigits> time = ClockDigitsFromText(hh_mm);
  if (hh_mm.size() != 5 || !time) return hh_mm;
  return NumberToText(TwelveHour(HourOf(*time))) + hh_mm.substr(2);
}
