#include "rules/evaluate_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "rules_test_support.h"
#include "text/number_text.h"
#include "window/control_ids.h"

namespace {

struct Clocks {
  std::int32_t hour12, hour24;
};
constexpr Clocks k12{1, 0}, k24{0, 1}, kBoth{1, 1}, kNeither{0, 0};

struct WordsCase {
  const char* time;
  std::vector<Rule> rules;
  Clocks clocks;
  const char* expected;
};

class EvaluateRulesTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetRulesState(); }
};

TEST_F(EvaluateRulesTest, DigitRulesSpeakTheirWords) {
  const WordsCase cases[] = {
      {"12:34", {SayAscending}, k24, "1 2 3 4"},
      {"01:23", {SayAscending}, k24, "1 2 3"},
      {"00:12", {SayAscending}, k24, "0 1 2"},
      {"23:45", {SayAscending}, k24, "2 3 4 5"},
      {"13:45", {SayAscending}, k24, ""},
      {"13:45", {SayAscending}, k12, ""},
      {"12:34", {SayAscending}, k12, "1 2 3 4"},
      {"00:12", {SayAscending}, k12, ""},
      {"13:23", {SayAscending}, k12, "1 2 3"},
      {"00:34", {SayAscending}, k12, "1 2 3 4"},
      {"05:43", {SayDescending}, k24, "5 4 3"},
      {"02:10", {SayDescending}, k24, "2 1 0"},
      {"17:43", {SayDescending}, k12, "5 4 3"},
      {"15:43", {SayDescending}, k24, ""},
      {"03:21", {SayDescendingEnd1}, k12, "3 2 1"},
      {"15:21", {SayDescendingEnd1}, k12, "3 2 1"},
      {"03:21", {SayDescendingEnd1}, k24, "3 2 1"},
      {"15:21", {SayDescendingEnd1}, k24, ""},
      {"01:11", {SaySelfSimilar}, k24, "1 1 1"},
      {"05:55", {SaySelfSimilar}, k24, "5 5 5"},
      {"10:10", {SaySelfSimilar}, k24, "10 10"},
      {"12:12", {SaySelfSimilar}, k24, "12 12"},
      {"13:11", {SaySelfSimilar}, k12, "1 1 1"},
      {"05:05", {SayHourMinuteMatch}, k24, "5 0 5"},
      {"01:01", {SayHourMinuteMatch}, k24, "1 0 1"},
      {"10:01", {SayHourMinuteMirror}, k24, "1 0 0 1"},
      {"12:21", {SayHourMinuteMirror}, k24, "1 2 2 1"},
      {"13:31", {SayHourMinuteMirror}, k12, ""},
      {"13:00", {SayHourProg}, k12, "01 o clock"},
      {"13:00", {SayHourProg}, k24, "13 o clock"},
      {"00:00", {SayHourProg}, k12, "12 o clock"},
      {"00:00", {SayHourProg}, k24, "00 o clock"},
      {"07:00", {SayHourProg}, k24, "07 o clock"},
      {"07:01", {SayHourProg}, k24, ""},
      // Both clocks: a match of rule 0, 5 or 6 in the 12-hour pass ends the
      // evaluation; any other is dropped when the 24-hour pass starts.
      {"13:23", {SayAscending}, kBoth, "1 2 3"},
      {"17:43", {SayDescending}, kBoth, ""},
      {"15:21", {SayDescendingEnd1}, kBoth, ""},
      {"03:21", {SayDescendingEnd1}, kBoth, "3 2 1"},
      {"22:01", {SayHourMinuteMirror}, kBoth, "1 0 0 1"},
      {"13:00", {SayHourProg}, kBoth, "01 o clock"},
      {"13:13", {SaySelfSimilar}, kBoth, "13 13"},
      {"13:11", {SaySelfSimilar}, kBoth, ""},
      {"12:34", {SayAscending}, kNeither, ""},
      // The time text's other forms.
      {"1:23", {SayAscending}, k24, "1 2 3"},
      {" 1:23", {SayAscending}, k24, "1 2 3"},
      {"12:34:56", {SayAscending}, k24, "1 2 3 4"},
      {"9:00:00", {SayHourProg}, k24, "09 o clock"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EvaluateRules(c.time, OnlyRules(c.rules), c.clocks.hour12, c.clocks.hour24),
              c.expected)
        << c.time << " clocks " << c.clocks.hour12 << c.clocks.hour24;
  }
}

TEST_F(EvaluateRulesTest, OnlyTheValueOneSwitchesARuleOrAClockOn) {
  for (const std::int32_t value : {0, 2, -1, 11}) {
    SaySwitches say{};
    say[SayAscending] = value;
    EXPECT_EQ(EvaluateRules("12:34", say, 0, 1), "") << value;
    EXPECT_EQ(EvaluateRules("12:34", OnlyRules({SayAscending}), value, value), "") << value;
  }
}

TEST_F(EvaluateRulesTest, EmptyTimeTextMeansTheClock) {
  fake::SetClock("12:34:56");
  EXPECT_EQ(EvaluateRules("", OnlyRules({SayAscending}), 0, 1), "1 2 3 4");
  fake::SetClock("12:35:00");
  EXPECT_EQ(EvaluateRules("", OnlyRules({SayAscending}), 0, 1), "");
}

struct WinnerCase {
  const char* time;
  std::vector<Rule> rules;
  Clocks clocks;
  const char* winner;
};

TEST_F(EvaluateRulesTest, LaterMatchesReplaceEarlierOnes) {
  EveryRulePlaysItsOwnFile();
  const WinnerCase cases[] = {
      {"03:21", {SayDescending, SayDescendingEnd1}, k24, "rule2.wav"},
      {"05:43", {SayDescending, SaySelfSimilar, SayHourProg}, k24, "rule1.wav"},
      {"11:11", {SaySelfSimilar, SayHourMinuteMirror}, k24, "rule5.wav"},
      {"22:22", {SaySelfSimilar, SayHourMinuteMirror}, k24, "rule5.wav"},
      {"00:00", {SaySelfSimilar, SayHourMinuteMatch}, k24, "rule4.wav"},
      {"00:00", {SaySelfSimilar, SayHourMinuteMatch, SayHourProg}, k24, "rule6.wav"},
      // Rule 5 ends the evaluation before rule 6 is tried.
      {"10:01", {SayHourMinuteMirror, SayHourProg}, k24, "rule5.wav"},
      // The self-similar test answers for the hour-minute match switch too,
      // with the self-similar rule's settings; the match's own test follows.
      {"12:12", {SayHourMinuteMatch}, k24, "rule3.wav"},
      {"05:55", {SayHourMinuteMatch}, k24, "rule3.wav"},
      {"05:05", {SayHourMinuteMatch}, k24, "rule4.wav"},
      {"00:00", {SayHourMinuteMatch}, k24, "rule4.wav"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(EvaluateRules(c.time, OnlyRules(c.rules), c.clocks.hour12, c.clocks.hour24),
              c.winner)
        << c.time;
}

TEST_F(EvaluateRulesTest, AMatchWithNothingToSayStillReplacesTheEarlierOne) {
  Settings.Speak[SayDescendingEnd1] = 0;
  EXPECT_EQ(EvaluateRules("03:21", OnlyRules({SayDescending, SayDescendingEnd1}), 0, 1), "");
  Settings.SFX[SayDescendingEnd1] = "C:\\end.wav";
  EXPECT_EQ(EvaluateRules("03:21", OnlyRules({SayDescending, SayDescendingEnd1}), 0, 1),
            "C:\\end.wav");
}

// Over a whole day, each rule matches exactly the minutes it names.
TEST_F(EvaluateRulesTest, MatchesPerDayForEachRuleAndClock) {
  struct DayCase {
    Rule rule;
    Clocks clocks;
    int matches;
  };
  const DayCase cases[] = {
      {SayAscending, k24, 7},          // 00:12 01:23 02:34 03:45 04:56 12:34 23:45
      {SayAscending, k12, 10},         // 01:23..04:56 twice, 00:34, 12:34
      {SayDescending, k24, 5},         // 02:10 03:21 04:32 05:43 06:54
      {SayDescendingEnd1, k24, 1},     // 03:21
      {SayDescendingEnd1, k12, 2},     // 03:21 15:21
      {SaySelfSimilar, k24, 20},       // 00:00..05:55, 10:10..23:23
      {SayHourMinuteMatch, k24, 29},   // 00:00..09:09 and the 20 self-similar
      {SayHourMinuteMirror, k24, 10},  // 10:01 11:11 12:21 13:31 14:41 15:51 20:02..23:32
      {SayHourProg, k24, 24},
      {SayHourProg, k12, 24},
      {SayHourProg, kNeither, 0},
  };
  for (const auto& c : cases) {
    int matches = 0;
    for (int hour = 0; hour < 24; ++hour)
      for (int minute = 0; minute < 60; ++minute) {
        const std::string time = TwoDigits(hour) + ":" + TwoDigits(minute);
        if (!EvaluateRules(time, OnlyRules({c.rule}), c.clocks.hour12, c.clocks.hour24).empty())
          ++matches;
      }
    EXPECT_EQ(matches, c.matches) << "rule " << c.rule << " clocks " << c.clocks.hour12
                                  << c.clocks.hour24;
  }
}

TEST_F(EvaluateRulesTest, FourTwentyGoesByTheClockAlone) {
  struct ClockCase {
    const char* clock;
    const char* time;
    Clocks clocks;
    const char* expected;
  };
  const ClockCase cases[] = {
      {"16:20:30", "16:20", k24, "4 20"},
      {"16:20:00", "09:00", k12, "4 20"},
      {"16:20:00", "09:00", kNeither, "4 20"},
      {"16:21:00", "16:20", k24, ""},
      {"04:20:00", "04:20", k12, ""},
      {"garbage", "16:20", k24, ""},
  };
  for (const auto& c : cases) {
    fake::SetClock(c.clock);
    EXPECT_EQ(EvaluateRules(c.time, OnlyRules({Say420}), c.clocks.hour12, c.clocks.hour24),
              c.expected)
        << c.clock << " " << c.time;
  }
}

TEST_F(EvaluateRulesTest, FourTwentyReplacesADigitRuleMatch) {
  fake::SetClock("16:20:00");
  EXPECT_EQ(EvaluateRules("12:34", OnlyRules({SayAscending, Say420}), 0, 1), "4 20");
}

struct AlarmCase {
  const char* picker;
  const char* clock;
  Clocks clocks;
  const char* expected;
};

TEST_F(EvaluateRulesTest, AlarmFiresWhenTheClockShowsThePickersTime) {
  const AlarmCase cases[] = {
      {"12:30 AM", "00:30:10", k24, "ALARM! 0 30"},
      {"12:30 AM", "12:30:10", k24, ""},
      {"12:30 PM", "12:30:00", k24, "ALARM! 12 30"},
      {"12:30 PM", "00:30:00", k12, ""},
      {"07:00 PM", "19:00:00", k24, "ALARM! 19 oh 0"},
      {"07:00 PM", "19:00:00", k12, "ALARM! 7 oh 0"},
      {"07:00 PM", "07:00:00", k12, ""},
      {"07:00 AM", "07:00:00", k12, "ALARM! 7 oh 0"},
      {"07:05 AM", "07:05:00", k24, "ALARM! 7 oh 5"},
      {"07:30 PM", "19:30:00", k12, "ALARM! 7 30"},
      {"07:30 PM", "19:30:00", k24, "ALARM! 19 30"},
      {"07:30 PM", "19:30:00", kNeither, "ALARM! 19 30"},
      {"12:00 AM", "00:00:00", k12, "ALARM! 12 oh 0"},
      {"12:00 AM", "00:00:00", k24, "ALARM! 0 oh 0"},
      {"12:45 PM", "12:45:00", k12, "ALARM! 12 45"},
      // Only an exact "AM" at the end means morning.
      {"07:00 am", "19:00:00", k24, "ALARM! 19 oh 0"},
      {"07:00", "19:00:00", k24, "ALARM! 19 oh 0"},
      {"", "12:00:00", k24, "ALARM! 12 oh 0"},
  };
  for (const auto& c : cases) {
    fake::Control(AlarmPicker1).picker_text = c.picker;
    fake::SetClock(c.clock);
    EXPECT_EQ(EvaluateRules(std::string(c.clock, 5), OnlyRules({SayAlarm1}), c.clocks.hour12,
                            c.clocks.hour24),
              c.expected)
        << c.picker << " at " << c.clock;
  }
}

TEST_F(EvaluateRulesTest, AlarmWithoutWordsPlaysItsFileOrJustTheMarker) {
  fake::Control(AlarmPicker1).picker_text = "07:00 AM";
  fake::SetClock("07:00:00");
  Settings.Speak[SayAlarm1] = 0;
  EXPECT_EQ(EvaluateRules("07:00", OnlyRules({SayAlarm1}), 1, 0), "ALARM! ");
  Settings.SFX[SayAlarm1] = "C:\\x.wav";
  EXPECT_EQ(EvaluateRules("07:00", OnlyRules({SayAlarm1}), 1, 0), "ALARM! C:\\x.wav");
}

TEST_F(EvaluateRulesTest, SecondAlarmReadsItsOwnPickerAndWinsOverEverything) {
  EveryRulePlaysItsOwnFile();
  fake::SetClock("16:20:00");
  fake::Control(AlarmPicker1).picker_text = "04:20 PM";
  fake::Control(AlarmPicker2).picker_text = "04:21 PM";
  const SaySwitches up_to_first_alarm = OnlyRules({SayHourProg, Say420, SayAlarm1});
  EXPECT_EQ(EvaluateRules("16:20", OnlyRules({SayAlarm2}), 0, 1), "");
  EXPECT_EQ(EvaluateRules("16:20", up_to_first_alarm, 0, 1), "ALARM! rule8.wav");
  fake::Control(AlarmPicker2).picker_text = "04:20 PM";
  EXPECT_EQ(EvaluateRules("16:20", OnlyRules({Say420, SayAlarm1, SayAlarm2}), 0, 1),
            "ALARM! rule9.wav");
  SaySwitches alarm_switched_off = OnlyRules({SayAlarm1});
  alarm_switched_off[SayAlarm1] = 2;
  EXPECT_EQ(EvaluateRules("16:20", alarm_switched_off, 0, 1), "");
}

TEST_F(EvaluateRulesTest, TextsThatAreNoClockTimeMatchNoDigitRule) {
  const char* const texts[] = {
      "1",      ":",        "12:",      ":34",      "1:2",       "12:3",  "123:45",
      "ab:cd",  "1a:23",    "12:34:5",  "12:34:567", "12:34x",   "12:34:", "12.34",
      "  :12",  "12 : 34",  "-1:23",    "+1:23",     "12:34:5x", "\t1:23", "12:34 ",
  };
  SaySwitches all_digit_rules{};
  for (int rule = 0; rule <= SayHourProg; ++rule) all_digit_rules[rule] = 1;
  for (const char* text : texts)
    EXPECT_EQ(EvaluateRules(text, all_digit_rules, 1, 1), "") << '"' << text << '"';
}

TEST_F(EvaluateRulesTest, AlarmOverAnOddTimeTextSpeaksTheClock) {
  fake::Control(AlarmPicker1).picker_text = "07:05 PM";
  fake::SetClock("19:05:00");
  EXPECT_EQ(EvaluateRules("odd", OnlyRules({SayAlarm1}), 1, 0), "ALARM! 7 oh 5");
}

// Every short text over a small alphabet: nothing may be read past its end
// (the sanitizer builds catch it), and only H:MM or HH:MM texts may match.
TEST_F(EvaluateRulesTest, ShortTextsOfEveryShapeAreReadSafely) {
  const std::string alphabet = "0123: a";
  SaySwitches all_digit_rules{};
  for (int rule = 0; rule <= SayHourProg; ++rule) all_digit_rules[rule] = 1;
  std::string text;
  for (std::size_t length = 1; length <= 5; ++length) {
    std::size_t combinations = 1;
    for (std::size_t i = 0; i < length; ++i) combinations *= alphabet.size();
    for (std::size_t n = 0; n < combinations; ++n) {
      text.clear();
      for (std::size_t rest = n, i = 0; i < length; ++i, rest /= alphabet.size())
        text += alphabet[rest % alphabet.size()];
      if (EvaluateRules(text, all_digit_rules, 1, 1).empty()) continue;
      const std::size_t colon = text.find(':');
      const bool clock_shaped = colon != std::string::npos && colon + 3 == text.size() &&
                                text.find_first_of(": a", colon + 1) == std::string::npos;
      EXPECT_TRUE(clock_shaped) << '"' << text << '"';
    }
  }
  EXPECT_EQ(EvaluateRules("0:12", all_digit_rules, 0, 1), "0 1 2");
  EXPECT_EQ(EvaluateRules("0 :12", all_digit_rules, 0, 1), "0 1 2");
}

struct PickerCase {
  const char* text;
  int hour;
  int minute;
};

TEST(PickerTextToHourMinute, ReadsTheTwelveHourPickerText) {
  const PickerCase cases[] = {
      {"07:30 PM", 19, 30}, {"07:30 AM", 7, 30}, {"12:05 AM", 0, 5},  {"12:00 PM", 12, 0},
      {"11:59 PM", 23, 59}, {"12:30 AM", 0, 30}, {"07:30", 19, 30},   {"07:30 am", 19, 30},
      {"07:30 AM ", 19, 30}, {" 7: 5 AM", 7, 5}, {"", 12, 0},         {"AM", 0, 0},
      {"x:y", 12, 0},       {"1:2:3 AM", 1, 2},
  };
  for (const auto& c : cases) {
    const HourMinute got = PickerTextToHourMinute(c.text);
    EXPECT_EQ(got.hour, c.hour) << '"' << c.text << '"';
    EXPECT_EQ(got.minute, c.minute) << '"' << c.text << '"';
  }
  // Endless digits must not overflow into a time that could match.
  const HourMinute huge = PickerTextToHourMinute("99999999999999999999:99999999999999 AM");
  EXPECT_GT(huge.hour, 23);
  EXPECT_GT(huge.minute, 59);
}

}  // namespace
