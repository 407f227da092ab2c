#include "rules/hover_display.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "fake/fake_platform.h"
#include "platform/platform.h"
#include "rules/clock_tick.h"
#include "rules_test_support.h"
#include "window/control_ids.h"

namespace {

constexpr int kAscendingBox = 1001;
constexpr int kDescendingBox = 1002;
constexpr int kThreeTwoOneBox = 1003;
constexpr int kSelfSimilarBox = 1004;
constexpr int kHourProgBox = 1013;
constexpr int k420Box = 1014;
constexpr int kAlarm1Box = 1015;

struct Clocks {
  std::int32_t hour12, hour24;
};
constexpr Clocks k12{1, 0}, k24{0, 1}, kBoth{1, 1}, kNeither{0, 0};

std::string Label() { return fake::Control(ClockDisplay).text; }
bool CaptionShown() { return fake::Control(NextTimeCaption).visible; }

class HoverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetRulesState();
    platform::SetControlText(ClockDisplay, "00:00");
    platform::ShowControl(NextTimeCaption, false);
  }

  void UseClocks(Clocks clocks) {
    Settings.Hour12 = clocks.hour12;
    Settings.Hour24 = clocks.hour24;
  }
};

struct SearchCase {
  const char* clock;
  Rule rule;
  Clocks clocks;
  bool allow_24_hour_trial;
  std::optional<NextMatch> expected;
};

TEST_F(HoverTest, FindNextMatchWalksForwardFromTheCurrentMinute) {
  const SearchCase cases[] = {
      {"12:40:30", SayAscending, k12, true, NextMatch{13, 23, true}},
      {"12:40:30", SayAscending, k24, true, NextMatch{23, 45, false}},
      {"12:40:30", SayAscending, kBoth, true, NextMatch{13, 23, true}},
      {"09:59:00", SayHourProg, k24, true, NextMatch{10, 0, false}},
      {"14:00:59", SayHourProg, k24, true, NextMatch{14, 0, false}},
      {"10:00:00", SayDescendingEnd1, k12, false, NextMatch{15, 21, true}},
      {"10:00:00", SayDescendingEnd1, kBoth, false, NextMatch{15, 21, true}},
      {"10:00:00", SayDescendingEnd1, k24, false, std::nullopt},
      {"10:00:00", SayDescendingEnd1, k24, true, NextMatch{3, 21, false}},
      // Across midnight; the 12-hour reading of 00:12 is 1212.
      {"23:59:00", SayAscending, k24, true, NextMatch{0, 12, false}},
      {"23:59:00", SayAscending, k12, true, NextMatch{0, 34, true}},
      {"23:59:00", SayAscending, kBoth, true, NextMatch{0, 12, false}},
      // The minute just gone is the last one tried.
      {"03:22:00", SayDescendingEnd1, k24, true, NextMatch{3, 21, false}},
      {"03:22:00", SayDescending, k24, true, NextMatch{4, 32, false}},
      {"12:13:00", SaySelfSimilar, k24, true, NextMatch{13, 13, false}},
      {"12:13:00", SaySelfSimilar, k12, true, NextMatch{13, 11, true}},
      {"00:01:00", SayHourMinuteMatch, k24, true, NextMatch{1, 1, false}},
      {"15:52:00", SayHourMinuteMirror, k24, true, NextMatch{20, 2, false}},
      {"12:34:00", SayAscending, kNeither, true, std::nullopt},
      {"12:34:00", SayAscending, k24, false, std::nullopt},
  };
  for (const auto& c : cases) {
    fake::SetClock(c.clock);
    UseClocks(c.clocks);
    const std::optional<NextMatch> found = FindNextMatch(c.rule, c.allow_24_hour_trial);
    ASSERT_EQ(found.has_value(), c.expected.has_value()) << c.clock << " rule " << c.rule;
    if (!found) continue;
    EXPECT_EQ(found->hour, c.expected->hour) << c.clock << " rule " << c.rule;
    EXPECT_EQ(found->minute, c.expected->minute) << c.clock << " rule " << c.rule;
    EXPECT_EQ(found->found_in_12_hour_trial, c.expected->found_in_12_hour_trial)
        << c.clock << " rule " << c.rule;
  }
}

TEST_F(HoverTest, FindNextMatchNeedsWordsOrASoundFile) {
  fake::SetClock("12:40:00");
  UseClocks(kBoth);
  Settings.Speak[SayAscending] = 0;
  EXPECT_FALSE(FindNextMatch(SayAscending, true).has_value());
  Settings.SFX[SayAscending] = "C:\\x.wav";
  ASSERT_TRUE(FindNextMatch(SayAscending, true).has_value());
  EXPECT_EQ(FindNextMatch(SayAscending, true)->minute, 23);
  // Only the hovered rule takes part, whatever the others are set to.
  Settings.Say.fill(1);
  EXPECT_EQ(FindNextMatch(SayHourProg, true)->hour, 13);
}

struct ShownCase {
  const char* clock;
  int control;
  Clocks clocks;
  const char* shown;
};

TEST_F(HoverTest, HoverShowsTheNextMatchingTime) {
  const ShownCase cases[] = {
      {"12:40:00", kAscendingBox, k12, "1:23"},
      {"12:40:00", kAscendingBox, k24, "23:45"},
      {"09:59:00", kHourProgBox, k24, "10:00"},
      {"09:59:00", kHourProgBox, k12, "10:00"},
      {"23:30:00", kHourProgBox, k12, "12:00"},
      {"14:00:00", kHourProgBox, k24, "14:00"},
      {"10:00:00", kThreeTwoOneBox, k12, "3:21"},
      {"10:00:00", kThreeTwoOneBox, kBoth, "3:21"},
      {"23:59:00", kAscendingBox, k24, "0:12"},
      {"23:59:00", kAscendingBox, k12, "12:34"},
      {"12:00:00", kDescendingBox, k24, "2:10"},
      {"12:00:00", kDescendingBox, k12, "2:10"},
      {"03:04:00", kSelfSimilarBox, k24, "3:33"},
      {"03:04:00", k420Box, k12, "4:20"},
      {"03:04:00", k420Box, kBoth, "4:20"},
      {"03:04:00", k420Box, k24, "16:20"},
      {"03:04:00", k420Box, kNeither, "16:20"},
      {"12:40:00", kAscendingBox, kNeither, "--:--"},
  };
  for (const auto& c : cases) {
    SetUp();
    fake::SetClock(c.clock);
    UseClocks(c.clocks);
    HoverDisplay(c.control);
    EXPECT_EQ(Label(), c.shown) << c.clock << " control " << c.control;
    EXPECT_EQ(HoverControl, c.control);
    EXPECT_TRUE(CaptionShown());
    EXPECT_TRUE(fake::Control(c.control).highlighted);
  }
}

TEST_F(HoverTest, RestingOnTheSameBoxKeepsWhatTheHoverFound) {
  UseClocks(k24);
  fake::SetClock("12:40:00");
  LastMinute = "12:40";
  HoverDisplay(kAscendingBox);
  EXPECT_EQ(Label(), "23:45");
  EXPECT_EQ(LastMinute, "");

  fake::SetClock("23:50:00");
  LastMinute = "23:50";
  fake::ClearCalls();
  HoverDisplay(kAscendingBox);
  EXPECT_EQ(Label(), "23:45");
  EXPECT_EQ(LastMinute, "23:50");
  EXPECT_TRUE(fake::Calls().empty());
}

TEST_F(HoverTest, MovingBetweenRulesUnhighlightsTheFirstBeforeTheSecond) {
  UseClocks(k24);
  fake::SetClock("09:59:00");
  HoverDisplay(kAscendingBox);
  HoverDisplay(kHourProgBox);
  const std::vector<std::string> expected = {"Highlight 1001", "Unhighlight 1001",
                                             "Highlight 1013"};
  EXPECT_EQ(fake::Calls(), expected);
  EXPECT_FALSE(fake::Control(kAscendingBox).highlighted);
  EXPECT_EQ(HoverControl, kHourProgBox);
  EXPECT_TRUE(CaptionShown());
  EXPECT_EQ(Label(), "10:00");
}

TEST_F(HoverTest, LeavingTheRulesEndsTheHoverButKeepsTheFoundTime) {
  for (const int elsewhere : {0, kAlarm1Box, 1016, static_cast<int>(ClockDisplay), 1019, 4242}) {
    SetUp();
    UseClocks(k24);
    fake::SetClock("12:40:00");
    HoverDisplay(kAscendingBox);
    LastMinute = "sentinel";
    HoverDisplay(elsewhere);
    EXPECT_EQ(HoverControl, 0) << elsewhere;
    EXPECT_FALSE(CaptionShown()) << elsewhere;
    EXPECT_FALSE(fake::Control(kAscendingBox).highlighted) << elsewhere;
    EXPECT_EQ(Label(), "23:45") << elsewhere;
    EXPECT_EQ(LastMinute, "sentinel") << elsewhere;
  }
}

TEST_F(HoverTest, CursorElsewhereWithoutAHoverDoesNothing) {
  LastMinute = "12:40";
  HoverDisplay(kAlarm1Box);
  HoverDisplay(0);
  EXPECT_TRUE(fake::Calls().empty());
  EXPECT_EQ(LastMinute, "12:40");
  EXPECT_EQ(Label(), "00:00");
}

TEST_F(HoverTest, ThreeTwoOneIsRefusedWithoutTheTwelveHourClock) {
  UseClocks(k24);
  fake::SetClock("10:00:00");
  HoverDisplay(kAscendingBox);
  ASSERT_EQ(Label(), "12:34");
  HoverDisplay(kThreeTwoOneBox);
  EXPECT_EQ(HoverControl, 0);
  EXPECT_FALSE(CaptionShown());
  EXPECT_FALSE(fake::Control(kAscendingBox).highlighted);
  EXPECT_FALSE(fake::Control(kThreeTwoOneBox).highlighted);
  EXPECT_EQ(Label(), "12:34");
  // The ended hover had cleared the minute, so the next tick writes the
  // current time back.
  ClockTick(kClockTimerId);
  EXPECT_EQ(Label(), "10:00");
}

// Cursor messages keep arriving over the refused box; they must not make
// the tick announce the current minute over and over.
TEST_F(HoverTest, RefusedHoverDoesNotRepeatTheMinutesAnnouncement) {
  UseClocks(k24);
  Settings.Say[SayAscending] = 1;
  Settings.Speak[SayAscending] = 0;
  Settings.SFX[SayAscending] = "C:\\x.wav";
  fake::SetClock("12:34:00");
  ClockTick(kClockTimerId);
  ASSERT_EQ(fake::CountCalls("PlaySoundSync C:\\x.wav"), 1);
  for (const char* clock : {"12:34:01", "12:34:02", "12:34:03"}) {
    HoverDisplay(kThreeTwoOneBox);
    fake::SetClock(clock);
    ClockTick(kClockTimerId);
  }
  EXPECT_EQ(fake::CountCalls("PlaySoundSync C:\\x.wav"), 1);
  EXPECT_EQ(LastMinute, "12:34");
}

// A hover pauses the tick and clears the minute; the first tick after it
// evaluates the minute again and puts the current time back.
TEST_F(HoverTest, TickAfterTheHoverRestoresTheClock) {
  UseClocks(k12);
  Settings.Say[SayAscending] = 1;
  Settings.Speak[SayAscending] = 0;
  Settings.SFX[SayAscending] = "C:\\x.wav";
  fake::SetClock("00:34:10");
  ClockTick(kClockTimerId);
  HoverDisplay(kHourProgBox);
  EXPECT_EQ(Label(), "1:00");
  fake::SetClock("00:35:00");
  ClockTick(kClockTimerId);
  EXPECT_EQ(Label(), "1:00");
  fake::SetClock("00:34:59");
  ClockTick(kClockTimerId);
  EXPECT_EQ(Label(), "1:00");

  HoverDisplay(0);
  ClockTick(kClockTimerId);
  EXPECT_EQ(Label(), "12:34");
  EXPECT_EQ(fake::CountCalls("PlaySoundSync C:\\x.wav"), 2);
}

}  // namespace
