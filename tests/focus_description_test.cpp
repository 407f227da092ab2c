// What a screen reader is given of the focused control through its
// description: a rule box's next matching time, and a clock box ticked by
// the window.
#include "window/focus_description.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/control_ids.h"
#include "rules_test_support.h"
#include "window_test_support.h"

namespace {

constexpr int kAscendingBox = 1001, kAscendingSpeak = 1019, kThreeTwoOneBox = 1003,
              kFourTwentyBox = 1014, kAlarm1Box = 1015;

std::string DescriptionOf(int id) { return fake::Control(id).description; }

class FocusDescriptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartWithFreshWindow();
    OnWindowStart();
    fake::ClearCalls();
  }
  void TearDown() override { fake::JoinThreads(); }  // a minute's announcement
};

TEST_F(FocusDescriptionTest, AFocusedRuleBoxCarriesTheTimeAHoverWouldShow) {
  const struct {
    const char* clock;
    Clocks clocks;
    int focused;
    const char* description;
  } cases[] = {
      {"12:40:00", k12, kAscendingBox, "Next matching time: 1:23"},
      {"12:40:00", k24, kAscendingBox, "Next matching time: 23:45"},
      {"10:00:00", k12, kThreeTwoOneBox, "Next matching time: 3:21"},
      {"10:00:00", k24, kThreeTwoOneBox, ""},  // the hover is refused there
      {"16:00:00", k24, kFourTwentyBox, "Next matching time: 16:20"},
      {"12:34:00", kNeither, kAscendingBox, "Next matching time: none"},  // "--:--" shown
      {"12:40:00", k12, kAlarm1Box, ""},
      {"12:40:00", k12, kAscendingSpeak, ""},
  };
  for (const auto& c : cases) {
    SetUp();
    At(c.clock, c.clocks);
    platform::SetControlText(ClockDisplay, "12:40");
    OnFocus(c.focused);
    EXPECT_EQ(DescriptionOf(c.focused), c.description) << c.clock << " " << c.focused;
    EXPECT_EQ(fake::CountCalls("Describe"), *c.description == '\0' ? 0 : 1);
    // Nothing the window shows, nor the clock, is touched.
    EXPECT_EQ(fake::Control(ClockDisplay).text, "12:40");
    EXPECT_FALSE(fake::Control(NextTimeCaption).visible);
    EXPECT_FALSE(fake::Control(c.focused).highlighted);
    EXPECT_EQ(HoverControl, 0);
    EXPECT_FALSE(LastMinute.has_value());
  }
}

TEST_F(FocusDescriptionTest, TheTimeIsRenewedAtANewMinuteAndGoesWithTheFocus) {
  At("12:40:00", k12);
  OnFocus(kAscendingBox);
  At("12:40:50", k12);
  OnTimer(kClockTimerId);
  At("13:23:10", k12);  // 13:23 itself still matches
  OnTimer(kClockTimerId);
  At("13:24:00", k12);
  OnTimer(kClockTimerId);
  EXPECT_EQ(DescriptionOf(kAscendingBox), "Next matching time: 2:34");
  OnFocus(kAscendingSpeak);
  EXPECT_EQ(DescriptionOf(kAscendingBox), "");
  At("14:00:00", k12);
  OnTimer(kClockTimerId);
  const std::string prefix = "Describe " + std::to_string(kAscendingBox);
  std::vector<std::string> said;
  for (const std::string& call : fake::Calls())
    if (call.rfind("Describe", 0) == 0) said.push_back(call);
  EXPECT_EQ(said, (std::vector<std::string>{prefix + " Next matching time: 1:23",
                                            prefix + " Next matching time: 2:34", prefix + " "}));
}

TEST_F(FocusDescriptionTest, UntickingTheOnlyTickedClockBoxTellsWhichIsTickedNow) {
  const struct {
    Clocks before;
    int unticked;
    const char* told;  // the unticked box's description after the click
  } cases[] = {
      {k12, Use12HourBox, "Use 24-hour clock checked"},
      {k24, Use24HourBox, "Use 12-hour clock checked"},
      {kBoth, Use12HourBox, ""},  // the other was ticked by the user
  };
  for (const auto& c : cases) {
    SetUp();
    UseClocks(c.before);
    fake::Control(Use12HourBox).check = c.before.hour12;
    fake::Control(Use24HourBox).check = c.before.hour24;
    OnFocus(c.unticked);
    fake::Control(c.unticked).check = 0;
    Click(c.unticked);
    EXPECT_EQ(DescriptionOf(c.unticked), c.told) << c.unticked;
    EXPECT_EQ(fake::Control(Use12HourBox).check + fake::Control(Use24HourBox).check, 1);
  }
}

}  // namespace
