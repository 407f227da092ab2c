// How long the rules take: one evaluation as the clock tick asks it, and the
// next-match search that runs while the cursor rests on a rule.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "rules/evaluate_rules.h"
#include "rules/find_next_match.h"
#include "settings/settings_file.h"
#include "text/number_text.h"

namespace {

std::vector<std::string> EveryMinuteOfTheDay() {
  std::vector<std::string> times;
  for (int hour = 0; hour < 24; ++hour)
    for (int minute = 0; minute < 60; ++minute) times.push_back(TwoDigits(hour) + ":" + TwoDigits(minute));
  return times;
}

// The clock tick's call: the default switches, one minute after another.
void EvaluateRulesPerCall(benchmark::State& state) {
  fake::Reset();
  Settings = DefaultSettings();
  const std::vector<std::string> times = EveryMinuteOfTheDay();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(EvaluateRules(times[i], Settings.Say, Settings.Hour12, Settings.Hour24));
    i = (i + 1) % times.size();
  }
}
BENCHMARK(EvaluateRulesPerCall);

struct SearchCase {
  const char* clock;
  Rule rule;
  bool hour12, hour24;
  bool speaks;  // false: no words and no sound file, so nothing ever matches
  int found_hour, found_minute;  // -1: nothing found
};

void FindNextMatchFor(benchmark::State& state, SearchCase c) {
  fake::Reset();
  fake::SetClock(c.clock);
  Settings = DefaultSettings();
  Settings.Hour12 = c.hour12;
  Settings.Hour24 = c.hour24;
  Settings.Speak[c.rule] = c.speaks ? 1 : 0;
  const std::optional<NextMatch> found = FindNextMatch(c.rule, true);
  const bool as_named = found ? found->hour == c.found_hour && found->minute == c.found_minute
                              : c.found_hour == -1;
  if (!as_named) state.SkipWithError("the search found another minute than its name says");
  for (auto _ : state) benchmark::DoNotOptimize(FindNextMatch(c.rule, true));
}

// The worst case: all 1,440 minutes, each in both trials, and no match.
BENCHMARK_CAPTURE(FindNextMatchFor, worst_never_matches,
                  SearchCase{"12:00:00", SayAscending, true, true, false, -1, -1})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FindNextMatchFor, ascending_at_12_40_finds_13_23,
                  SearchCase{"12:40:00", SayAscending, true, false, true, 13, 23})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FindNextMatchFor, ascending_at_12_40_24_hour_finds_23_45,
                  SearchCase{"12:40:00", SayAscending, false, true, true, 23, 45})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FindNextMatchFor, mirror_at_12_22_both_finds_13_31,
                  SearchCase{"12:22:00", SayHourMinuteMirror, true, true, true, 13, 31})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
