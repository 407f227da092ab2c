// Loading and saving the real quorvel.ini (a saved file, flushed to disk the
// way every change is saved) in a temporary program folder.
#include <benchmark/benchmark.h>

#include "fake/fake_platform.h"
#include "settings/settings_file.h"

namespace {

void UsualSettings() {
  Settings = DefaultSettings();
  for (int r = 0; r < kRuleCount; ++r) Settings.SFX[r] = "C:\\Windows\\Media\\chimes.wav";
}

void SaveSettingsToDisk(benchmark::State& state) {
  fake::Reset();
  UsualSettings();
  for (auto _ : state) SaveSettings();
}
BENCHMARK(SaveSettingsToDisk)->Unit(benchmark::kMicrosecond);

void LoadSettingsFromDisk(benchmark::State& state) {
  fake::Reset();
  UsualSettings();
  SaveSettings();
  for (auto _ : state) LoadSettings();
}
BENCHMARK(LoadSettingsFromDisk)->Unit(benchmark::kMicrosecond);

}  // namespace
