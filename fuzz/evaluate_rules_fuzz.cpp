// EvaluateRules with any time text, picker times, clock, switches and sound
// paths. Input lines: time text; 12 switches (ten Say, 12hour, 24hour); ten
// Speak switches; picker 1 hour and minute bytes; the same for picker 2;
// clock text; ten sound paths.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "platform/control_ids.h"
#include "platform/platform.h"
#include "rules/evaluate_rules.h"
#include "settings/settings.h"

namespace {

bool OnlyCharsOf(const std::string& text, const std::string& allowed) {
  return text.find_first_not_of(allowed) == std::string::npos;
}

bool IsSoundOf(const std::string& text, int first_rule, int last_rule) {
  for (int r = first_rule; r <= last_rule; ++r)
    if (text == Settings.SFX[r]) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fake::ClearCalls();  // the fake records every picker setting
  const std::vector<std::string> f = InputFields(data, size, 16);
  SaySwitches say{};
  for (int r = 0; r < kRuleCount; ++r) {
    say[r] = SwitchFromByte(f[1], r);
    Settings.Speak[r] = SwitchFromByte(f[2], r);
    Settings.SFX[r] = f[6 + r];
  }
  const std::int32_t hour12 = SwitchFromByte(f[1], 10);
  const std::int32_t hour24 = SwitchFromByte(f[1], 11);
  platform::SetPickerTime(AlarmPicker1, SwitchFromByte(f[3], 0), SwitchFromByte(f[3], 1));
  platform::SetPickerTime(AlarmPicker2, SwitchFromByte(f[4], 0), SwitchFromByte(f[4], 1));
  fake::SetClock(f[5]);

  const std::string result = EvaluateRules(f[0], say, hour12, hour24);
  Require(EvaluateRules(f[0], say, hour12, hour24) == result, "the same question, the same answer");
  if (result.empty()) return 0;

  bool any_rule_on = false;
  for (int r = 0; r <= Say420; ++r) any_rule_on = any_rule_on || say[r] == 1;
  const bool clock_form_on = hour12 == 1 || hour24 == 1;
  const bool rule_could_match = any_rule_on && (clock_form_on || say[Say420] == 1);
  const bool alarm_on = say[SayAlarm1] == 1 || say[SayAlarm2] == 1;

  // A hand-edited sound path may itself start with the marker, so a rule's
  // own sound is tried first.
  if (rule_could_match &&
      (IsSoundOf(result, SayAscending, Say420) || OnlyCharsOf(result, "0123456789 oclk")))
    return 0;
  const std::string marker = kAlarmMarker;
  Require(alarm_on && result.compare(0, marker.size(), marker) == 0,
          "an announcement is a switched-on rule's sound or words, or an alarm");
  const std::string payload = result.substr(marker.size());
  Require(IsSoundOf(payload, SayAlarm1, SayAlarm2) || OnlyCharsOf(payload, "0123456789 oh"),
          "an alarm says its time or plays its sound");
  return 0;
}
