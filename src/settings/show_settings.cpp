#include "settings/show_settings.h"

#include <cstdint>
#include <string_view>

#include "platform/control_ids.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "text/number_text.h"

namespace {

// The picker takes its fields as 16-bit numbers; a larger value keeps only
// its low 16 bits, as such a store would.
int As16Bit(std::int32_t value) {
  const int low = static_cast<int>(static_cast<std::uint32_t>(value) & 0xFFFFu);
  return low >= 0x8000 ? low - 0x10000 : low;
}

// "H:MM", unchecked. A number stops at a colon, so the hour reads from the
// start and the minute from just after the first colon; no colon, minute 0.
platform::ClockTime AlarmTimeOf(std::string_view alarm_time) {
  const size_t colon = alarm_time.find(':');
  const int hour = As16Bit(IntegerFromText(alarm_time));
  const int minute =
      colon == std::string_view::npos ? 0 : As16Bit(IntegerFromText(alarm_time.substr(colon + 1)));
  return {hour, minute};
}

bool IsTimeOfDay(const platform::ClockTime& time) {
  return time.hour >= 0 && time.hour <= 23 && time.minute >= 0 && time.minute <= 59;
}

// A picker refuses a time that does not exist and keeps showing the moment it
// was made at, and the alarm rules read the picker: a hand-edited "7:60" would
// raise that alarm at once. Such a text shows the alarm's default time; the
// text itself stays as read until the user changes the picker.
void ShowAlarmTime(int picker, std::string_view alarm_time, std::string_view default_time) {
  platform::ClockTime time = AlarmTimeOf(alarm_time);
  if (!IsTimeOfDay(time)) time = AlarmTimeOf(default_time);
  platform::SetPickerTime(picker, time.hour, time.minute);
}

void ShowRuleRow(int rule) {
  const RuleRow& row = kRuleRows[rule];
  platform::SetCheck(row.rule_box, Settings.Say[rule]);
  // Without a sound file the rule can only speak.
  if (Settings.SFX[rule].empty()) Settings.Speak[rule] = 1;
  platform::CheckRadioPair(row.speak_radio, row.sfx_radio,
                             Settings.Speak[rule] == 0 ? row.sfx_radio : row.speak_radio);
  platform::SetControlText(row.sound_box, SoundDisplayName(Settings.SFX[rule]));
}

// Removes the non-overlapping occurrences of `part`, left to right.
std::string WithoutEvery(std::string_view text, std::string_view part) {
  std::string result;
  size_t pos = 0;
  for (size_t found; (found = text.find(part, pos)) != std::string_view::npos;
       pos = found + part.size())
    result.append(text.substr(pos, found - pos));
  result.append(text.substr(pos));
  return result;
}

}  // namespace

void ShowSettings() {
  for (int rule = 0; rule < kRuleCount; ++rule) ShowRuleRow(rule);
  // Each box shows its own flag: a hand-edited file may tick both clocks.
  platform::SetCheck(Use12HourBox, Settings.Hour12);
  platform::SetCheck(Use24HourBox, Settings.Hour24);
  platform::SetCheck(ConfirmAlarmBox, Settings.ConfirmAlarm);
  platform::SetCheck(AutomaticStartupBox, Settings.AutomaticStartup);
  const SettingsRecord defaults = DefaultSettings();
  ShowAlarmTime(AlarmPicker1, Settings.Alarm1time, defaults.Alarm1time);
  ShowAlarmTime(AlarmPicker2, Settings.Alarm2time, defaults.Alarm2time);
}

std::string SoundDisplayName(const std::string& path) {
  // "/" separates too: Windows accepts it and no Windows name holds one, and
  // it is the separator of the POSIX builds.
  const size_t slash = path.find_last_of("\\/");
  const std::string_view name = slash == std::string::npos
                                    ? std::string_view(path)
                                    : std::string_view(path).substr(slash + 1);
  return WithoutEvery(WithoutEvery(name, ".wav"), ".WAV");
}
