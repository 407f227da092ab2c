// The user's 36 settings, alive for the whole run and touched only on the
// window's thread.
#pragma once

#include <cstdint>
#include <string>

#include "platform/rule_list.h"

struct SettingsRecord {
  // Per rule, indexed by Rule: the Say switch, the Speak switch (1 speaks the
  // words, anything else plays the sound file) and the sound file path.
  SaySwitches Say{};
  std::array<std::int32_t, kRuleCount> Speak{};
  std::array<std::string, kRuleCount> SFX{};
  std::int32_t Hour12 = 0;  // file key "12hour"
  std::int32_t Hour24 = 0;  // file key "24hour"
  std::int32_t ConfirmAlarm = 0;
  std::int32_t AutomaticStartup = 0;
  std::string Alarm1time;
  std::string Alarm2time;
};

extern SettingsRecord Settings;
