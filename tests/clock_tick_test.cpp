#include "rules/clock_tick.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "platform/control_ids.h"
#include "platform/platform.h"
#include "rules_test_support.h"

namespace {

const std::string kPlayed = "PlaySoundSync C:\\x.wav";

std::string Label() { return fake::Control(ClockDisplay).text; }

class ClockTickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetRulesState();
    Settings.Say[SayAscending] = 1;
    PlayFile(SayAscending, "C:\\x.wav");
    Settings.Hour24 = 1;
    platform::SetControlText(ClockDisplay, "00:00");
  }

  void TickAt(const char* clock) {
    fake::SetClock(clock);
    ClockTick(kClockTimerId);
    fake::JoinThreads();  // a sound effect plays on a thread of its own
  }
};

TEST_F(ClockTickTest, NewMinuteIsEvaluatedWithTheClockSwitchesAndLabelled) {
  const struct {
    const char* clock;
    Clocks clocks;
    const char* label;
    int played;
  } cases[] = {
      {"00:05:00", k12, "12:05", 0}, {"00:05:00", k24, "00:05", 0}, {"09:30:00", k12, "9:30", 0},
      {"12:00:00", k12, "12:00", 0}, {"13:45:00", k12, "1:45", 0},  {"23:59:59", kBoth, "11:59", 0},
      {"13:23:00", k12, "1:23", 1},  {"13:23:00", k24, "13:23", 0}, {"00:34:00", k12, "12:34", 1},
      {"12:34:00", {2, 1}, "12:34", 1}, {"12:34:00", kNeither, "12:34", 0},
  };
  for (const auto& c : cases) {
    fake::ClearCalls();
    LastMinute.clear();
    Settings.Hour12 = c.clocks.hour12;
    Settings.Hour24 = c.clocks.hour24;
    TickAt(c.clock);
    EXPECT_EQ(Label(), c.label) << c.clock;
    EXPECT_EQ(LastMinute, std::string(c.clock, 5)) << c.clock;
    EXPECT_EQ(fake::CountCalls(kPlayed), c.played) << c.clock;
  }
}

TEST_F(ClockTickTest, EachMinuteIsProcessedOnItsFirstTickOnly) {
  fake::SetClock("12:34:50");
  for (const int other_timer : {0, 999, 1001}) ClockTick(other_timer);
  EXPECT_EQ(Label(), "00:00");
  EXPECT_TRUE(fake::Calls().empty());

  TickAt("12:34:50");
  platform::SetControlText(ClockDisplay, "untouched");
  TickAt("12:34:59");
  EXPECT_EQ(fake::CountCalls(kPlayed), 1);
  EXPECT_EQ(Label(), "untouched");
  TickAt("12:35:00");
  EXPECT_EQ(Label(), "12:35");
  // Cleared from outside (a click on the 12-hour box): the same minute again.
  TickAt("12:34:30");
  LastMinute.clear();
  TickAt("12:34:31");
  EXPECT_EQ(fake::CountCalls(kPlayed), 3);
}

TEST_F(ClockTickTest, HoverPausesTheTickUntilItEnds) {
  TickAt("12:33:00");
  HoverControl = kRuleRows[SayAscending].rule_box;
  platform::SetControlText(ClockDisplay, "1:23");
  TickAt("12:34:00");
  EXPECT_EQ(LastMinute, "12:33");
  EXPECT_EQ(Label(), "1:23");
  HoverControl = 0;
  TickAt("12:34:20");
  EXPECT_EQ(Label(), "12:34");
  EXPECT_EQ(fake::CountCalls(kPlayed), 1);
}

// The label is written after the announcement returns: while the alarm box
// is open it shows the minute before, ticks of the alarm's minute do
// nothing, a later minute is processed in full, and on dismissal the label
// shows the time read then.
TEST_F(ClockTickTest, TicksGoOnWhileAnAlarmBoxIsOpen) {
  Settings.Say[SayAlarm1] = 1;
  PlayFile(SayAlarm1, "C:\\alarm.wav");
  platform::SetPickerTime(AlarmPicker1, 13, 22);
  Settings.Hour12 = 1;
  Settings.Hour24 = 0;
  std::string label_in_box, label_after_same_minute, label_after_next_minute;
  fake::OnStopBox([&] {
    label_in_box = Label();
    TickAt("13:22:40");
    label_after_same_minute = Label();
    TickAt("13:23:00");
    label_after_next_minute = Label();
    fake::SetClock("13:24:10");
  });
  TickAt("13:21:00");
  TickAt("13:22:30");
  EXPECT_EQ(label_in_box, "1:21");
  EXPECT_EQ(label_after_same_minute, "1:21");
  EXPECT_EQ(label_after_next_minute, "1:23");
  EXPECT_EQ(fake::CountCalls("ShowStopBox"), 1);
  EXPECT_EQ(fake::CountCalls("PlaySoundLoop C:\\alarm.wav"), 1);
  EXPECT_EQ(fake::CountCalls(kPlayed), 1);
  EXPECT_EQ(Label(), "1:24");
}

}  // namespace

// A sound effect plays on a thread of its own: the tick returns while it
// plays, and the next minute waits for its end, as when it played on the
// window's thread.
TEST_F(ClockTickTest, ASoundStillPlayingHoldsTheNextMinuteButNotTheWindow) {
  std::atomic<bool> ended{false};
  fake::OnCall([&](const std::string& call) {
    for (int ms = 0; call == kPlayed && !ended && ms < 2000; ++ms)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  });
  fake::SetClock("12:34:00");
  ClockTick(kClockTimerId);
  EXPECT_EQ(Label(), "12:34");
  ASSERT_TRUE(fake::WaitUntil([] { return fake::CountCalls(kPlayed) == 1; }));
  fake::SetClock("12:35:00");
  ClockTick(kClockTimerId);
  EXPECT_EQ(LastMinute, "12:34");
  EXPECT_EQ(Label(), "12:34");
  ended = true;
  fake::JoinThreads();
  TickAt("12:35:01");
  EXPECT_EQ(Label(), "12:35");
}
