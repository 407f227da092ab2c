// Shared set-up for the clock rules' tests.
#pragma once

#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "rules/clock_tick.h"
#include "rules/hover_display.h"
#include "rules/rule_list.h"
#include "settings/settings.h"

// Every rule off and spoken, no sound files, both clocks off: each test
// switches on exactly what it is about.
inline SettingsRecord QuietSettings() {
  SettingsRecord settings;
  settings.Speak.fill(1);
  return settings;
}

inline void ResetRulesState() {
  fake::Reset();
  Settings = QuietSettings();
  LastMinute.clear();
  HoverControl = 0;
}

inline SaySwitches OnlyRules(const std::vector<Rule>& rules) {
  SaySwitches say{};
  for (Rule rule : rules) say[rule] = 1;
  return say;
}

// Each rule plays its own file instead of speaking, so a result names the
// rule that produced it.
inline void EveryRulePlaysItsOwnFile() {
  for (int rule = 0; rule < kRuleCount; ++rule) {
    Settings.Speak[rule] = 0;
    Settings.SFX[rule] = "rule" + std::to_string(rule) + ".wav";
  }
}
