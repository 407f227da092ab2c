#include "window/start_up.h"

#include <gtest/gtest.h>

#include "platform/control_ids.h"
#include "support/test_files.h"
#include "window_test_support.h"

namespace {

class StartUp : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    Settings = {};
    ResetClockTick();
    HoverControl = 0;
  }
  void TearDown() override { fake::JoinThreads(); }
};

TEST_F(StartUp, BuildsLoadsShowsRunsAndEndsInThatOrder) {
  fake::ControlState at_run;
  fake::OnRunMainWindow([&] { at_run = fake::Control(1001); });
  EXPECT_EQ(RunQuorvel(0, nullptr), 0);
  const std::vector<std::string> calls = fake::Calls();
  std::vector<std::string> window_calls;
  for (const std::string& call : calls)
    if (call.rfind("SetPickerTime", 0) != 0) window_calls.push_back(call);
  EXPECT_EQ(window_calls, (std::vector<std::string>{"StartWindowSystem", "BuildMainWindow",
                                                    "RunMainWindow", "StartTimer 1000 1000",
                                                    "ReleaseWindowResources"}));
  EXPECT_EQ(at_run.check, 1) << "settings are shown before the window runs";
  EXPECT_EQ(SettingsFileOnDisk(), "") << "nothing is saved by starting";
}

TEST_F(StartUp, AHandWrittenFileReachesTheControls) {
  test_files::Write(fake::ProgramFolderPath() + "quorvel.ini",
                    "sayascending: 0\r\nSay420: 1\r\n24HOUR: 1\r\nSFXSay420: C:\\a\\horn.wav\r\n"
                    "SpeakSay420: 0\r\nAlarm2time: 19:30\r\n");
  RunQuorvel(0, nullptr);
  EXPECT_EQ(fake::Control(1001).check, 0);
  EXPECT_EQ(fake::Control(1014).check, 1);
  EXPECT_EQ(fake::Control(1008).check, 1);
  EXPECT_EQ(fake::Control(1047).text, "horn");
  EXPECT_EQ(fake::Control(1049).check, 1);
  EXPECT_EQ(fake::Control(1048).check, 0);
  EXPECT_EQ(fake::Control(AlarmPicker2).picker_hour, 19);
  EXPECT_EQ(fake::Control(AlarmPicker2).picker_minute, 30);
  EXPECT_FALSE(fake::Control(NextTimeCaption).visible);
  EXPECT_EQ(fake::Control(ClockDisplay).text, "00:00");
}

// A picker refuses "7:60" and would keep the start-up time, which the alarm
// rule reads: the alarm must not go off in the first minute.
TEST_F(StartUp, AnAlarmTimeThatIsNoTimeRaisesNoAlarm) {
  const std::string file = "SayAlarm1: 1\r\nAlarm1time: 7:60\r\n";
  test_files::Write(fake::ProgramFolderPath() + "quorvel.ini", file);
  fake::SetClock("10:15:30");
  fake::OnRunMainWindow([] { OnTimer(1000); });
  RunQuorvel(0, nullptr);
  EXPECT_EQ(fake::CountCalls("ShowStopBox"), 0);
  EXPECT_EQ(fake::CountCalls("StartThread"), 0);
  EXPECT_EQ(Settings.Alarm1time, "7:60");
  EXPECT_EQ(SettingsFileOnDisk(), file);
}

}  // namespace
