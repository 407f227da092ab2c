// A hand-edited alarm time shown in its picker, then the picker's own action
// run for real: whatever the text, the picker holds a time of the day and
// the alarm text it stores reads back as that same time. Saves go to a
// folder that does not exist, so they fail at once.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fake/fake_platform.h"
#include "fuzz_check.h"
#include "platform/control_ids.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "settings/show_settings.h"
#include "window/control_actions.h"

namespace {

bool IsTimeOfDay(const platform::ClockTime& t) {
  return t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59;
}

bool SameTime(const platform::ClockTime& a, const platform::ClockTime& b) {
  return a.hour == b.hour && a.minute == b.minute;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fake::Reset();
  fake::SetProgramFolder(fake::ProgramFolderPath() + "missing/");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fake::ClearCalls();  // the fake records every picker setting
  const std::string text(reinterpret_cast<const char*>(data), size);
  const bool second = size > 0 && (data[0] & 1);
  const int picker = second ? AlarmPicker2 : AlarmPicker1;
  Settings = DefaultSettings();
  (second ? Settings.Alarm2time : Settings.Alarm1time) = text;
  ShowSettings();
  const platform::ClockTime shown = platform::PickerTime(picker);
  Require(IsTimeOfDay(shown), "a picker always shows a time of the day");
  Require((second ? Settings.Alarm2time : Settings.Alarm1time) == text,
          "showing an alarm time leaves its text as read");

  RunControlAction(picker);
  const std::string stored = second ? Settings.Alarm2time : Settings.Alarm1time;
  const std::string& other = second ? Settings.Alarm1time : Settings.Alarm2time;
  Require(other == DefaultSettings().*(second ? &SettingsRecord::Alarm1time
                                              : &SettingsRecord::Alarm2time),
          "a picker sets its own alarm only");
  Require(stored.size() >= 4 && stored.size() <= 5 && stored[stored.size() - 3] == ':',
          "a stored alarm text is H:MM or HH:MM");

  // The stored text is what the picker gets back at the next start.
  (second ? Settings.Alarm2time : Settings.Alarm1time) = stored;
  ShowSettings();
  Require(SameTime(platform::PickerTime(picker), shown),
          "the stored alarm text reads back as the same time");
  return 0;
}
