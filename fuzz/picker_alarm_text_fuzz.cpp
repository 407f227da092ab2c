// A time picker's displayed text, whatever the locale makes of it, turned
// into the alarm time the settings keep (the picker's own action, run for
// real; saves go to a folder that does not exist, so they fail at once).
#include <cstddef>
#include <cstdint>
#include <string>

#include "fake/fake_platform.h"
#include "fuzz_check.h"
#include "rules/evaluate_rules.h"
#include "settings/settings.h"
#include "text/number_text.h"
#include "window/control_actions.h"
#include "window/control_ids.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "hh:mm AM" or "hh:mm PM" with a real time: the form a picker shows.
bool IsPickerForm(const std::string& t) {
  if (t.size() != 8 || t[2] != ':' || t[5] != ' ' || t[7] != 'M' || (t[6] != 'A' && t[6] != 'P'))
    return false;
  if (!IsDigit(t[0]) || !IsDigit(t[1]) || !IsDigit(t[3]) || !IsDigit(t[4])) return false;
  const int hour = (t[0] - '0') * 10 + (t[1] - '0');
  const int minute = (t[3] - '0') * 10 + (t[4] - '0');
  return hour >= 1 && hour <= 12 && minute <= 59;
}

std::string ExpectedAlarmText(const std::string& t) {
  int hour = (t[0] - '0') * 10 + (t[1] - '0');
  if (t[6] == 'A' && hour == 12) hour = 0;
  if (t[6] == 'P' && hour != 12) hour += 12;
  return std::to_string(hour) + ":" + t.substr(3, 2);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fake::Reset();
  fake::SetProgramFolder(fake::ProgramFolderPath() + "missing/");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const bool second = size > 0 && (data[0] & 1);
  const int picker = second ? AlarmPicker2 : AlarmPicker1;
  Settings.Alarm1time = "untouched";
  Settings.Alarm2time = "untouched";
  fake::Control(picker).picker_text = text;

  RunControlAction(picker);
  const std::string& stored = second ? Settings.Alarm2time : Settings.Alarm1time;
  const std::string& other = second ? Settings.Alarm1time : Settings.Alarm2time;
  Require(other == "untouched", "a picker sets its own alarm only");

  const HourMinute time = PickerTextToHourMinute(text);
  Require(stored == NumberToText(time.hour) + ":" + TwoDigits(time.minute),
          "the stored alarm text is the picker's hour and minute");
  // The stored text is what the picker gets back at the next start.
  const size_t colon = stored.find(':');
  Require(colon != std::string::npos && stored.find(':', colon + 1) == std::string::npos,
          "an alarm text has exactly one colon");
  Require(IntegerFromText(stored.substr(0, colon)) == time.hour &&
              IntegerFromText(stored.substr(colon + 1)) == time.minute,
          "the alarm text reads back as the same hour and minute");
  if (IsPickerForm(text)) {
    Require(stored == ExpectedAlarmText(text), "a picker time is stored as its 24-hour H:MM");
    Require(time.hour >= 0 && time.hour <= 23, "a picker time has an hour of the day");
  }
  return 0;
}
