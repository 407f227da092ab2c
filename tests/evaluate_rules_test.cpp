#include "rules/evaluate_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/control_ids.h"
#include "platform/platform.h"
#include "rules_test_support.h"
#include "text/number_text.h"

namespace {

class EvaluateRulesTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetRulesState(); }
};

TEST_F(EvaluateRulesTest, DigitRulesSpeakTheirWordsInEitherReading) {
  const struct {
    const char* time;
    Rule rule;
    Clocks clocks;
    const char* words;
  } cases[] = {
      {"12:34", SayAscending, k24, "1 2 3 4"}, {"01:23", SayAscending, k24, "1 2 3"},
      {"00:12", SayAscending, k24, "0 1 2"}, {"13:45", SayAscending, k24, ""},
      {"13:45", SayAscending, k12, ""}, {"00:12", SayAscending, k12, ""},
      {"00:34", SayAscending, k12, "1 2 3 4"}, {"13:23", SayAscending, kBoth, "1 2 3"},
      {"05:43", SayDescending, k24, "5 4 3"}, {"17:43", SayDescending, kBoth, ""},
      {"15:21", SayDescendingEnd1, k12, "3 2 1"}, {"15:21", SayDescendingEnd1, k24, ""},
      {"15:21", SayDescendingEnd1, kBoth, ""}, {"03:21", SayDescendingEnd1, kBoth, "3 2 1"},
      {"05:55", SaySelfSimilar, k24, "5 5 5"}, {"12:12", SaySelfSimilar, k24, "12 12"},
      {"13:11", SaySelfSimilar, k12, "1 1 1"}, {"13:11", SaySelfSimilar, kBoth, ""},
      {"05:05", SayHourMinuteMatch, k24, "5 0 5"}, {"12:21", SayHourMinuteMirror, k24, "1 2 2 1"},
      {"22:01", SayHourMinuteMirror, kBoth, "1 0 0 1"}, {"13:00", SayHourProg, k12, "01 o clock"},
      {"13:00", SayHourProg, k24, "13 o clock"}, {"00:00", SayHourProg, k12, "12 o clock"},
      {"00:00", SayHourProg, k24, "00 o clock"}, {"13:00", SayHourProg, kBoth, "01 o clock"},
      {"12:34", SayAscending, kNeither, ""}, {"12:34", SayAscending, {2, -1}, ""},
      {"1:23", SayAscending, k24, "1 2 3"}, {" 9:00:59", SayHourProg, k24, "09 o clock"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(EvaluateRules(c.time, OnlyRules({c.rule}), c.clocks.hour12, c.clocks.hour24),
              c.words)
        << c.time << " rule " << c.rule << " clocks " << c.clocks.hour12 << c.clocks.hour24;
  SaySwitches two_is_not_on{};
  two_is_not_on[SayAscending] = 2;
  EXPECT_EQ(EvaluateRules("12:34", two_is_not_on, 0, 1), "");
  fake::SetClock("12:34:56");
  EXPECT_EQ(EvaluateRules("", OnlyRules({SayAscending}), 0, 1), "1 2 3 4");
}

TEST_F(EvaluateRulesTest, LaterMatchesReplaceEarlierOnes) {
  for (int rule = 0; rule < kRuleCount; ++rule)
    PlayFile(static_cast<Rule>(rule), "rule" + std::to_string(rule) + ".wav");
  const struct {
    const char* time;
    std::vector<Rule> rules;
    const char* winner;
  } cases[] = {
      {"03:21", {SayDescending, SayDescendingEnd1}, "rule2.wav"},
      {"05:43", {SayDescending, SaySelfSimilar, SayHourProg}, "rule1.wav"},
      {"11:11", {SaySelfSimilar, SayHourMinuteMirror}, "rule5.wav"},
      {"00:00", {SaySelfSimilar, SayHourMinuteMatch}, "rule4.wav"},
      {"00:00", {SaySelfSimilar, SayHourMinuteMatch, SayHourProg}, "rule6.wav"},
      {"10:01", {SayHourMinuteMirror, SayHourProg}, "rule5.wav"},
      // The self-similar test also runs for the hour-minute switch alone.
      {"12:12", {SayHourMinuteMatch}, "rule3.wav"}, {"05:05", {SayHourMinuteMatch}, "rule4.wav"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(EvaluateRules(c.time, OnlyRules(c.rules), 0, 1), c.winner) << c.time;
  // A match with nothing to say still replaces the one before it.
  PlayFile(SayDescendingEnd1, "");
  EXPECT_EQ(EvaluateRules("03:21", OnlyRules({SayDescending, SayDescendingEnd1}), 0, 1), "");
}

TEST_F(EvaluateRulesTest, EachRuleMatchesItsMinutesOfTheDay) {
  const struct {
    Rule rule;
    Clocks clocks;
    int matches;
  } cases[] = {
      {SayAscending, k24, 7},          // 00:12 01:23 02:34 03:45 04:56 12:34 23:45
      {SayAscending, k12, 10},         // 01:23..04:56 twice, 00:34 and 12:34
      {SayDescending, k24, 5},         // 02:10 03:21 04:32 05:43 06:54
      {SayDescendingEnd1, k12, 2},     // 03:21 15:21
      {SaySelfSimilar, k24, 20},       // 00:00..05:55, 10:10..23:23
      {SayHourMinuteMatch, k24, 29},   // 01:01..09:09 and the 20 self-similar
      {SayHourMinuteMirror, k24, 10},  // 10:01..15:51, 20:02..23:32
      {SayHourProg, k12, 24},
  };
  for (const auto& c : cases) {
    int matches = 0;
    for (int minute_of_day = 0; minute_of_day < 24 * 60; ++minute_of_day) {
      const std::string time = TwoDigits(minute_of_day / 60) + ":" + TwoDigits(minute_of_day % 60);
      const Clocks& k = c.clocks;
      matches += !EvaluateRules(time, OnlyRules({c.rule}), k.hour12, k.hour24).empty();
    }
    EXPECT_EQ(matches, c.matches) << "rule " << c.rule;
  }
}

TEST_F(EvaluateRulesTest, ClockRulesGoByTheClockAndAlarmsByTheirPicker) {
  const struct {
    const char* clock;
    const char* time;
    Rule rule;
    platform::ClockTime picker;
    Clocks clocks;
    const char* expected;
  } cases[] = {
      {"16:20:30", "09:00", Say420, {0, 0}, kNeither, "4 20"},
      {"16:21:00", "16:20", Say420, {0, 0}, k24, ""},
      {"04:20:00", "04:20", Say420, {0, 0}, k12, ""},
      {"00:30:10", "00:30", SayAlarm1, {0, 30}, k24, "ALARM! 0 30"},
      {"12:30:10", "12:30", SayAlarm1, {0, 30}, k24, ""},
      {"12:30:00", "12:30", SayAlarm1, {12, 30}, k12, "ALARM! 12 30"},
      {"19:00:00", "19:00", SayAlarm1, {19, 0}, k12, "ALARM! 7 oh 0"},
      {"07:00:00", "07:00", SayAlarm1, {19, 0}, k12, ""},
      {"07:05:00", "07:05", SayAlarm1, {7, 5}, k24, "ALARM! 7 oh 5"},
      {"19:30:00", "19:30", SayAlarm1, {19, 30}, k24, "ALARM! 19 30"},
      {"00:00:00", "00:00", SayAlarm1, {0, 0}, k12, "ALARM! 12 oh 0"},
      {"19:30:00", "odd", SayAlarm1, {19, 30}, k12, "ALARM! 7 30"},
      {"07:00:00", "07:00", SayAlarm2, {7, 0}, k24, ""},
  };
  for (const auto& c : cases) {
    fake::SetClock(c.clock);
    platform::SetPickerTime(AlarmPicker1, c.picker.hour, c.picker.minute);
    EXPECT_EQ(EvaluateRules(c.time, OnlyRules({c.rule}), c.clocks.hour12, c.clocks.hour24),
              c.expected)
        << c.clock << " " << c.picker.hour << ":" << c.picker.minute;
  }
}

TEST_F(EvaluateRulesTest, AlarmsPlayTheirFileAndTheSecondWinsOverAll) {
  fake::SetClock("16:20:00");
  platform::SetPickerTime(AlarmPicker1, 16, 20);
  const SaySwitches all = OnlyRules({SayAscending, Say420, SayAlarm1, SayAlarm2});
  PlayFile(SayAlarm1, "");
  EXPECT_EQ(EvaluateRules("16:20", all, 0, 1), "ALARM! ");
  PlayFile(SayAlarm1, "C:\\x.wav");
  EXPECT_EQ(EvaluateRules("16:20", all, 0, 1), "ALARM! C:\\x.wav");
  platform::SetPickerTime(AlarmPicker2, 16, 20);
  EXPECT_EQ(EvaluateRules("16:20", all, 0, 1), "ALARM! 16 20");
}

// Texts that are no H:MM or HH:MM(:SS) time match nothing, and are never read
// past their end (the sanitizer builds catch that): every text up to five
// characters over a small alphabet, and a few longer ones.
TEST_F(EvaluateRulesTest, OddTimeTextsMatchNoDigitRule) {
  const SaySwitches digit_rules = OnlyRules({SayAscending, SayDescending, SayDescendingEnd1,
                                             SaySelfSimilar, SayHourMinuteMatch,
                                             SayHourMinuteMirror, SayHourProg});
  for (const char* text : {"123:45", "12:34:567", "12:34:5x", "\t1:23", "-1:23", "12 : 34"})
    EXPECT_EQ(EvaluateRules(text, digit_rules, 1, 1), "") << text;
  const std::string alphabet = "0123: a";
  std::string text;
  for (std::size_t n = 1;; ++n) {
    text.clear();
    for (std::size_t rest = n; rest > 0; rest = (rest - 1) / alphabet.size())
      text += alphabet[(rest - 1) % alphabet.size()];
    if (text.size() > 5) break;
    if (EvaluateRules(text, digit_rules, 1, 1).empty()) continue;
    const std::size_t colon = text.find(':');
    const bool minutes_end_it = colon + 3 == text.size();
    EXPECT_TRUE(minutes_end_it && text.find_first_of(": a", colon + 1) == std::string::npos)
        << '"' << text << '"';
  }
}

}  // namespace
