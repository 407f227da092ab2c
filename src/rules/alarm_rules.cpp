#include "rules/alarm_rules.h"

#include <string>

#include "platform/control_ids.h"
#include "platform/platform.h"
#include "rules/outcome.h"
#include "text/number_text.h"

bool AlarmIsDue(Rule alarm, const ClockDigits& now) {
  return AlarmMinuteOfDay(alarm) == HourOf(now) * 60 + MinuteOf(now);
}

int AlarmMinuteOfDay(Rule alarm) {
  const int picker = alarm == SayAlarm1 ? AlarmPicker1 : AlarmPicker2;
  const platform::ClockTime set_for = platform::PickerTime(picker);
  return set_for.hour * 60 + set_for.minute;
}

std::string AlarmAnnouncement(Rule alarm, const ClockDigits& now, bool hour12) {
  return OutcomeText(Outcome{alarm, AlarmWords(now, hour12), true});
}

std::string AlarmWords(const ClockDigits& time, bool hour12) {
  const int hour = hour12 ? TwelveHour(HourOf(time)) : HourOf(time);
  std::string words = NumberToText(hour) + ' ';
  if (time.m1 == 0) words += "oh ";
  else words += static_cast<char>('0' + time.m1);
  words += static_cast<char>('0' + time.m2);
  return words;
}
