#include "rules/hover_display.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/control_ids.h"
#include "platform/platform.h"
#include "rules/find_next_match.h"
#include "rules_test_support.h"
#include "text/number_text.h"

namespace {

constexpr int kAscendingBox = 1001, kThreeTwoOneBox = 1003, kHourProgBox = 1013;

std::string Label() { return fake::Control(ClockDisplay).text; }
bool CaptionShown() { return fake::Control(NextTimeCaption).visible; }

class HoverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetRulesState();
    platform::SetControlText(ClockDisplay, "00:00");
    platform::ShowControl(NextTimeCaption, false);
  }
};

TEST_F(HoverTest, FindNextMatchWalksOneDayForwardFromNow) {
  const struct {
    const char* clock;
    Rule rule;
    Clocks clocks;
    bool allow_24_hour_trial;
    const char* found;  // "hh:mm 12" or "hh:mm 24" by the finding trial
  } cases[] = {
      {"12:40:30", SayAscending, k12, true, "13:23 12"},
      {"12:40:30", SayAscending, k24, true, "23:45 24"},
      {"12:40:30", SayAscending, kBoth, true, "13:23 12"},
      {"14:00:59", SayHourProg, k24, true, "14:00 24"},
      {"10:00:00", SayDescendingEnd1, kBoth, false, "15:21 12"},
      {"10:00:00", SayDescendingEnd1, k24, false, ""},
      {"03:22:00", SayDescendingEnd1, k24, true, "03:21 24"},  // the minute before, last
      {"23:59:00", SayAscending, k24, true, "00:12 24"},
      {"23:59:00", SayAscending, k12, true, "00:34 12"},  // 00:12 reads 1212
      {"23:59:00", SayAscending, kBoth, true, "00:12 24"},
      {"00:01:00", SayHourMinuteMatch, k24, true, "01:01 24"},
      {"15:52:00", SayHourMinuteMirror, k24, true, "20:02 24"},
      {"12:34:00", SayAscending, kNeither, true, ""},
  };
  for (const auto& c : cases) {
    At(c.clock, c.clocks);
    const std::optional<NextMatch> match = FindNextMatch(c.rule, c.allow_24_hour_trial);
    const std::string found = match ? TwoDigits(match->hour) + ":" + TwoDigits(match->minute) +
                                          (match->found_in_12_hour_trial ? " 12" : " 24")
                                    : "";
    EXPECT_EQ(found, c.found) << c.clock << " rule " << c.rule;
  }
  // Only the hovered rule counts, and only with words or a sound file.
  At("12:40:00", k24);
  Settings.Say.fill(1);
  PlayFile(SayHourProg, "");
  EXPECT_FALSE(FindNextMatch(SayHourProg, true).has_value());
  PlayFile(SayHourProg, "C:\\x.wav");
  EXPECT_EQ(FindNextMatch(SayHourProg, true)->hour, 13);
}

TEST_F(HoverTest, HoverShowsTheNextMatchingTimeWithoutLeadingZero) {
  const struct {
    const char* clock;
    int control;
    Clocks clocks;
    const char* shown;
  } cases[] = {
      {"12:40:00", kAscendingBox, k12, "1:23"},     {"12:40:00", kAscendingBox, k24, "23:45"},
      {"23:59:00", kAscendingBox, k24, "0:12"},     {"23:59:00", kAscendingBox, k12, "12:34"},
      {"09:59:00", kHourProgBox, k24, "10:00"},     {"23:30:00", kHourProgBox, k12, "12:00"},
      {"10:00:00", kThreeTwoOneBox, k12, "3:21"},   {"12:00:00", 1002, k24, "2:10"},
      {"03:04:00", 1014, kBoth, "4:20"},            {"03:04:00", 1014, k24, "16:20"},
      {"12:40:00", kAscendingBox, kNeither, "--:--"},
  };
  for (const auto& c : cases) {
    SetUp();
    At(c.clock, c.clocks);
    LastMinute = 12 * 60;
    HoverDisplay(c.control);
    EXPECT_EQ(Label(), c.shown) << c.clock << " control " << c.control;
    EXPECT_EQ(HoverControl, c.control);
    EXPECT_TRUE(CaptionShown() && fake::Control(c.control).highlighted);
    EXPECT_EQ(LastMinute, std::nullopt);
  }
}

TEST_F(HoverTest, HoverMovesBetweenRulesAndEndsElsewhere) {
  At("09:59:00", k24);
  HoverDisplay(kAscendingBox);
  At("23:50:00", k24);
  HoverDisplay(kAscendingBox);  // resting: no new search
  EXPECT_EQ(Label(), "12:34");
  HoverDisplay(kHourProgBox);
  const std::vector<std::string> calls = {"Highlight 1001", "Unhighlight 1001", "Highlight 1013"};
  EXPECT_EQ(fake::Calls(), calls);
  EXPECT_TRUE(CaptionShown());
  EXPECT_EQ(Label(), "0:00");

  for (const int elsewhere : {1015, 0}) {  // an alarm box, then the window
    LastMinute = 777;
    HoverDisplay(elsewhere);
    EXPECT_EQ(HoverControl, 0);
    EXPECT_FALSE(CaptionShown() || fake::Control(kHourProgBox).highlighted);
    EXPECT_EQ(Label(), "0:00");
    EXPECT_EQ(LastMinute, 777);
  }
  EXPECT_EQ(fake::CountCalls("Unhighlight 1013"), 1);
}

// Without the 12-hour clock the 3:21 box shows nothing and ends any hover.
// Cursor messages keep coming over it, and they must not make the tick
// announce the current minute over and over.
TEST_F(HoverTest, ThreeTwoOneIsRefusedWithoutTheTwelveHourClock) {
  Settings.Say[SayAscending] = 1;
  PlayFile(SayAscending, "C:\\x.wav");
  At("12:34:00", k24);
  HoverDisplay(kHourProgBox);
  HoverDisplay(kThreeTwoOneBox);
  EXPECT_EQ(HoverControl, 0);
  EXPECT_FALSE(CaptionShown() || fake::Control(kHourProgBox).highlighted ||
               fake::Control(kThreeTwoOneBox).highlighted);
  EXPECT_EQ(Label(), "13:00");
  for (const char* clock : {"12:34:01", "12:34:02", "12:34:03"}) {
    fake::SetClock(clock);
    ClockTick(kClockTimerId);
    HoverDisplay(kThreeTwoOneBox);
  }
  EXPECT_EQ(Label(), "12:34");
  fake::JoinThreads();
  EXPECT_EQ(fake::CountCalls("PlaySoundSync C:\\x.wav"), 1);
}

}  // namespace
