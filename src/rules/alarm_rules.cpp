#include "rules/alarm_rules.h"

#include <string>

#include "platform/platform.h"
#include "rules/evaluate_rules.h"
#include "text/number_text.h"
#include "window/control_ids.h"

HourMinute PickerTextToHourMinute(const std::string& picker_text) {
  const std::string_view text = picker_text;
  const std::size_t first_colon = text.find(':');
  int hour = LeadingDecimal(text.substr(0, first_colon));
  // The minute field ends at the blank before the AM/PM mark.
  const int minute =
      first_colon == std::string_view::npos ? 0 : LeadingDecimal(text.substr(first_colon + 1));
  const bool morning = text.size() >= 2 && text.substr(text.size() - 2) == "AM";
  if (morning && hour == 12) hour = 0;
  if (!morning && hour != 12) hour += 12;
  return HourMinute{hour, minute};
}

bool AlarmIsDue(Rule alarm, const ClockDigits& now) {
  const int picker = alarm == SayAlarm1 ? AlarmPicker1 : AlarmPicker2;
  const HourMinute set_for = PickerTextToHourMinute(platform::PickerTimeText(picker));
  return set_for.hour == HourOf(now) && set_for.minute == MinuteOf(now);
}

std::string AlarmWords(const ClockDigits& time, bool hour12) {
  const int hour = hour12 ? TwelveHour(HourOf(time)) : HourOf(time);
  std::string words = NumberToText(hour) + ' ';
  if (time.m1 == 0) words += "oh ";
  else words += static_cast<char>('0' + time.m1);
  words += static_cast<char>('0' + time.m2);
  return words;
}
