// Shared set-up for the clock rules' tests.
#pragma once

#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "rules/local_time.h"
#include "window/clock_tick.h"
#include "rules/hover_display.h"
#include "settings/settings.h"

struct Clocks {
  std::int32_t hour12, hour24;
};
inline constexpr Clocks k12{1, 0}, k24{0, 1}, kBoth{1, 1}, kNeither{0, 0};

inline void UseClocks(Clocks clocks) {
  Settings.Hour12 = clocks.hour12;
  Settings.Hour24 = clocks.hour24;
}
// The fake clock at `clock` ("hh:mm:ss"), read as `clocks` tell.
inline void At(const char* clock, Clocks clocks) {
  fake::SetClock(clock);
  UseClocks(clocks);
}

// Every rule off and spoken, no sound files, both clocks off: each test
// switches on exactly what it is about.
inline void ResetRulesState() {
  fake::Reset();
  Settings = SettingsRecord{};
  Settings.Speak.fill(1);
  ResetClockTick();
  HoverControl = 0;
}

inline SaySwitches OnlyRules(const std::vector<Rule>& rules) {
  SaySwitches say{};
  for (Rule rule : rules) say[rule] = 1;
  return say;
}

// The rule plays `path` instead of speaking; the fake records that at once.
inline void PlayFile(Rule rule, const std::string& path) {
  Settings.Speak[rule] = 0;
  Settings.SFX[rule] = path;
}
