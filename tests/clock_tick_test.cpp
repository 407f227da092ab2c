#include "rules/clock_tick.h"

#include <gtest/gtest.h>

#include <string>

#include "fake/fake_platform.h"
#include "platform/platform.h"
#include "rules/hover_display.h"
#include "rules_test_support.h"
#include "window/control_ids.h"

namespace {

const std::string kPlayed = "PlaySoundSync C:\\x.wav";

std::string Label() { return fake::Control(ClockDisplay).text; }

class ClockTickTest : public ::testing::Test {
 protected:
  // Ascending sequences play C:\x.wav, which the fake records at once.
  void SetUp() override {
    ResetRulesState();
    Settings.Say[SayAscending] = 1;
    Settings.Speak[SayAscending] = 0;
    Settings.SFX[SayAscending] = "C:\\x.wav";
    Settings.Hour24 = 1;
    platform::SetControlText(ClockDisplay, "00:00");
  }

  // A sound-file alarm for hh:mm AM/PM as the first picker shows it.
  void SetAlarm(const std::string& picker_text) {
    Settings.Say[SayAlarm1] = 1;
    Settings.Speak[SayAlarm1] = 0;
    Settings.SFX[SayAlarm1] = "C:\\alarm.wav";
    fake::Control(AlarmPicker1).picker_text = picker_text;
  }
};

TEST(TwelveHourLabel, ShowsTheHourOnATwelveHourDial) {
  const struct {
    const char* clock;
    const char* label;
  } cases[] = {
      {"00:05", "12:05"}, {"00:59", "12:59"}, {"01:00", "1:00"}, {"09:30", "9:30"},
      {"12:00", "12:00"}, {"13:45", "1:45"},  {"23:59", "11:59"},
      // Not a clock minute: shown as it is.
      {"", ""},           {"7", "7"},         {"ab:cd", "ab:cd"}, {"12:345", "12:345"},
  };
  for (const auto& c : cases) EXPECT_EQ(TwelveHourLabel(c.clock), c.label) << c.clock;
}

TEST_F(ClockTickTest, NewMinuteIsEvaluatedWithTheClockSwitchesAndLabelled) {
  const struct {
    const char* clock;
    std::int32_t hour12, hour24;
    const char* label;
    bool played;
  } cases[] = {
      {"00:05:00", 1, 0, "12:05", false}, {"00:05:00", 0, 1, "00:05", false},
      {"09:30:00", 1, 0, "9:30", false},  {"12:00:00", 1, 0, "12:00", false},
      {"13:45:00", 1, 0, "1:45", false},  {"13:45:00", 0, 1, "13:45", false},
      {"23:59:59", 1, 1, "11:59", false}, {"13:23:00", 1, 0, "1:23", true},
      {"13:23:00", 0, 1, "13:23", false}, {"00:34:00", 1, 0, "12:34", true},
      {"12:34:00", 2, 1, "12:34", true},  {"12:34:00", 0, 0, "12:34", false},
  };
  for (const auto& c : cases) {
    fake::ClearCalls();
    LastMinute.clear();
    fake::SetClock(c.clock);
    Settings.Hour12 = c.hour12;
    Settings.Hour24 = c.hour24;
    ClockTick(kClockTimerId);
    EXPECT_EQ(Label(), c.label) << c.clock;
    EXPECT_EQ(LastMinute, std::string(c.clock, 5)) << c.clock;
    EXPECT_EQ(fake::CountCalls(kPlayed), c.played ? 1 : 0) << c.clock;
  }
}

TEST_F(ClockTickTest, OtherTimersChangeNothing) {
  fake::SetClock("12:34:00");
  for (const int timer_id : {0, 999, 1001, -1000}) ClockTick(timer_id);
  EXPECT_EQ(Label(), "00:00");
  EXPECT_EQ(LastMinute, "");
  EXPECT_TRUE(fake::Calls().empty());
}

TEST_F(ClockTickTest, EachMinuteIsProcessedOnItsFirstTickOnly) {
  fake::SetClock("12:34:50");
  ClockTick(kClockTimerId);
  EXPECT_EQ(fake::CountCalls(kPlayed), 1);
  EXPECT_EQ(Label(), "12:34");

  platform::SetControlText(ClockDisplay, "untouched");
  for (const char* clock : {"12:34:51", "12:34:59"}) {
    fake::SetClock(clock);
    ClockTick(kClockTimerId);
  }
  EXPECT_EQ(fake::CountCalls(kPlayed), 1);
  EXPECT_EQ(Label(), "untouched");

  fake::SetClock("12:35:00");
  ClockTick(kClockTimerId);
  EXPECT_EQ(LastMinute, "12:35");
  EXPECT_EQ(Label(), "12:35");

  // Cleared from outside (a click on the 12-hour box): the minute again.
  fake::SetClock("12:34:30");
  ClockTick(kClockTimerId);
  EXPECT_EQ(fake::CountCalls(kPlayed), 2);
  LastMinute.clear();
  ClockTick(kClockTimerId);
  EXPECT_EQ(fake::CountCalls(kPlayed), 3);
}

TEST_F(ClockTickTest, HoverPausesTheTickUntilItEnds) {
  fake::SetClock("12:33:00");
  ClockTick(kClockTimerId);
  HoverControl = kRuleRows[SayAscending].rule_box;
  platform::SetControlText(ClockDisplay, "1:23");
  fake::SetClock("12:34:00");
  ClockTick(kClockTimerId);
  EXPECT_EQ(LastMinute, "12:33");
  EXPECT_EQ(Label(), "1:23");
  EXPECT_EQ(fake::CountCalls(kPlayed), 0);

  HoverControl = 0;
  fake::SetClock("12:34:20");
  ClockTick(kClockTimerId);
  EXPECT_EQ(LastMinute, "12:34");
  EXPECT_EQ(Label(), "12:34");
  EXPECT_EQ(fake::CountCalls(kPlayed), 1);
}

// The label is written after the announcement returns: while the alarm box
// is open it still shows the minute before, nested ticks of the alarm's
// minute do nothing, and the label shows the time when the box goes away.
TEST_F(ClockTickTest, AlarmBoxHoldsTheLabelBackUntilDismissed) {
  SetAlarm("07:00 AM");
  fake::SetClock("06:59:00");
  ClockTick(kClockTimerId);
  std::string label_in_box;
  fake::OnStopBox([&] {
    label_in_box = Label();
    fake::SetClock("07:00:40");
    ClockTick(kClockTimerId);
    fake::SetClock("07:00:58");
  });
  fake::SetClock("07:00:01");
  ClockTick(kClockTimerId);
  EXPECT_EQ(label_in_box, "06:59");
  EXPECT_EQ(fake::CountCalls("PlaySoundLoop C:\\alarm.wav"), 1);
  EXPECT_EQ(fake::CountCalls("ShowStopBox"), 1);
  EXPECT_EQ(Label(), "07:00");
}

TEST_F(ClockTickTest, LaterMinuteIsProcessedWhileAnAlarmBoxIsOpen) {
  SetAlarm("01:22 PM");
  Settings.Hour12 = 1;
  Settings.Hour24 = 0;
  std::string label_after_nested_tick;
  bool nested = false;
  fake::OnStopBox([&] {
    if (nested) return;
    nested = true;
    fake::SetClock("13:23:00");
    ClockTick(kClockTimerId);
    label_after_nested_tick = Label();
    fake::SetClock("13:24:10");
  });
  fake::SetClock("13:22:30");
  ClockTick(kClockTimerId);
  EXPECT_EQ(label_after_nested_tick, "1:23");
  EXPECT_EQ(fake::CountCalls(kPlayed), 1);
  EXPECT_EQ(LastMinute, "13:23");
  EXPECT_EQ(Label(), "1:24");
}

}  // namespace
