// The settings the saver writes in its n-th save: every generation differs
// from the one before in its values and in the file's length, so a file that
// mixes two saves, or holds only part of one, matches no generation.
#pragma once

#include <string>

#include "settings/settings_file.h"
#include "text/number_text.h"

inline SettingsRecord GenerationSettings(long long n) {
  SettingsRecord settings = DefaultSettings();
  for (int r = 0; r < kRuleCount; ++r) settings.Say[r] = (n >> r) & 1;
  settings.SFX[SayAscending] = "C:\\Sounds\\generation " + NumberToText(n) + ".wav";
  settings.SFX[n % kRuleCount] += std::string(static_cast<size_t>(n % 997), 'x');
  settings.Alarm1time = NumberToText(n % 24) + ":" + TwoDigits(n % 60);
  return settings;
}

inline std::string GenerationFile(long long n) { return SettingsFileText(GenerationSettings(n)); }
