#include "window/clock_tick.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "announce/sound_task.h"
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
    ResetClockTick();
    UseClocks(c.clocks);
    TickAt(c.clock);
    EXPECT_EQ(Label(), c.label) << c.clock;
    EXPECT_EQ(MinuteText(LastMinute.value_or(-1)), std::string(c.clock, 5)) << c.clock;
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
  LastMinute.reset();
  TickAt("12:34:31");
  EXPECT_EQ(fake::CountCalls(kPlayed), 3);
}

TEST_F(ClockTickTest, HoverPausesTheTickUntilItEnds) {
  TickAt("12:33:00");
  HoverControl = kRuleRows[SayAscending].rule_box;
  platform::SetControlText(ClockDisplay, "1:23");
  TickAt("12:34:00");
  EXPECT_EQ(LastMinute, 12 * 60 + 33);
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
  EXPECT_EQ(LastMinute, 12 * 60 + 34);
  EXPECT_EQ(Label(), "12:34");
  ended = true;
  fake::JoinThreads();
  TickAt("12:35:01");
  EXPECT_EQ(Label(), "12:35");
}

namespace {

// A day of ticks as the program may see it: "hh:mm:ss" ticks on day 0,
// "+N hh:mm:ss" on day N, and the events between them.
struct GapRow {
  const char* name;
  const char* alarm1;  // "hh:mm", both sounding alarms
  const char* alarm2;  // "" when off
  std::vector<std::string> steps;
  std::vector<std::string> rung;  // each alarm's loop and spoken phrase, in order
  const char* label;
};

// Steps besides ticks: the window starting, the pointer resting on a rule
// box, leaving it for the window or beyond it, a rule's sound beginning and
// ending.
void RunStep(const std::string& step) {
  if (step.rfind("start ", 0) == 0) {
    fake::SetClock(step.substr(6));
    StartClockTick();
  } else if (step == "hover") {
    HoverDisplay(kRuleRows[SayAscending].rule_box);
  } else if (step == "leave") {
    HoverDisplay(0);
  } else if (step == "sound") {
    SoundBusyCount += 1;
  } else if (step == "quiet") {
    SoundBusyCount -= 1;
  } else {
    const bool later_day = step[0] == '+';
    fake::SetClock(later_day ? step.substr(3) : step, later_day ? step[1] - '0' : 0);
    ClockTick(kClockTimerId);
    fake::JoinThreads();
  }
}

void SetAlarm(Rule alarm, const char* hh_mm, const std::string& sound) {
  if (*hh_mm == '\0') return;
  Settings.Say[alarm] = 1;
  PlayFile(alarm, sound);
  platform::SetPickerTime(alarm == SayAlarm1 ? AlarmPicker1 : AlarmPicker2,
                          std::atoi(hh_mm), std::atoi(hh_mm + 3));
}

// What rang: loops started and alarm phrases, a phrase's repetitions once.
std::vector<std::string> Rung() {
  std::vector<std::string> rung;
  for (const std::string& call : fake::Calls()) {
    const bool alarm = call.rfind("PlaySoundLoop", 0) == 0 || call.rfind("Speak Alarm!", 0) == 0;
    if (alarm && (rung.empty() || rung.back() != call || call[0] == 'P')) rung.push_back(call);
  }
  return rung;
}

const std::string kLoop1 = "PlaySoundLoop /a1.wav", kLoop2 = "PlaySoundLoop /a2.wav";

}  // namespace

TEST_F(ClockTickTest, AlarmsWhoseMinuteWentByUnseenRingOnceAndOthersAreLetGo) {
  const GapRow rows[] = {
      {"resting on a rule through the alarm", "07:00", "",
       {"06:59:50", "hover", "07:00:00", "07:00:30"}, {kLoop1}, "12:34"},
      {"the hover ends, then the same minute", "07:00", "",
       {"06:59:50", "hover", "07:00:00", "leave", "07:00:30"}, {kLoop1}, "07:00"},
      {"the pointer leaves before the alarm", "07:00", "",
       {"06:59:50", "hover", "leave", "07:00:00"}, {kLoop1}, "07:00"},
      {"a jump over one alarm", "07:00", "", {"06:59:00", "07:03:00", "07:03:30"}, {kLoop1}, "07:03"},
      {"a jump over both", "07:02", "07:00", {"06:59:00", "07:05:00", "07:05:01", "07:05:02"},
       {kLoop2, kLoop1}, "07:05"},
      {"the jump's own minute is an alarm too", "07:00", "07:05",
       {"06:59:00", "07:05:00", "07:05:01"}, {kLoop1, kLoop2}, "07:05"},
      {"across midnight", "00:10", "", {"23:50:00", "+1 00:20:00", "+1 00:20:01"}, {kLoop1}, "00:20"},
      {"more than 12 hours ago", "07:00", "", {"06:59:00", "19:01:00"}, {}, "19:01"},
      {"exactly 12 hours ago", "07:00", "", {"06:59:00", "19:00:00", "19:00:01"}, {kLoop1}, "19:00"},
      {"two days, 11 hours ago", "07:00", "", {"06:00:00", "+2 18:00:00", "+2 18:00:01"}, {kLoop1},
       "18:00"},
      {"the clock goes back", "07:00", "", {"07:30:00", "06:30:00", "06:59:00", "07:00:00"}, {kLoop1},
       "07:00"},
      {"a sound covers the alarm", "07:00", "",
       {"06:59:00", "sound", "07:00:00", "07:01:00", "quiet", "07:01:30", "07:01:31"}, {kLoop1},
       "07:01"},
      {"a switched-off alarm", "", "", {"06:59:00", "07:03:00"}, {}, "07:03"},
      {"stopped before its first tick", "07:00", "", {"start 06:59:58", "07:02:00", "07:02:01"},
       {kLoop1}, "07:02"},
      {"a first tick without a start", "07:00", "", {"07:02:00"}, {}, "07:02"},
  };
  for (const GapRow& row : rows) {
    SetUp();
    SetAlarm(SayAlarm1, row.alarm1, "/a1.wav");
    SetAlarm(SayAlarm2, row.alarm2, "/a2.wav");
    for (const std::string& step : row.steps) RunStep(step);
    EXPECT_EQ(Rung(), row.rung) << row.name;
    EXPECT_EQ(fake::CountCalls("ShowStopBox"), static_cast<int>(row.rung.size())) << row.name;
    EXPECT_EQ(Label(), row.label) << row.name;
  }
}

TEST_F(ClockTickTest, AGapRingsAlarmsOnlyAndSpeaksTheTimeItRingsAt) {
  Settings.Say[SayAlarm1] = 1;
  platform::SetPickerTime(AlarmPicker1, 7, 0);
  Settings.Say[SayAlarm2] = 1;
  PlayFile(SayAlarm2, "/a2.wav");
  platform::SetPickerTime(AlarmPicker2, 7, 1);
  // The second alarm's box comes while the first one's still waits.
  int boxes_open = 0, most_open = 0;
  fake::OnStopBox([&] {
    most_open = std::max(most_open, ++boxes_open);
    ClockTick(kClockTimerId);  // no join: the open box's alarm speaks on
    --boxes_open;
  });
  TickAt("06:59:00");
  TickAt("12:35:00");  // 12:34, ascending, went by unseen
  EXPECT_EQ(fake::CountCalls("Speak Alarm! 12 35"), 1);
  EXPECT_EQ(fake::CountCalls("PlaySoundLoop /a2.wav"), 1);
  EXPECT_EQ(most_open, 2);
  EXPECT_EQ(fake::CountCalls(kPlayed), 0);
  EXPECT_EQ(Label(), "12:35");
}
