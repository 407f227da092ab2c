#include "window/say_time.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/control_ids.h"
#include "platform/platform.h"
#include "rules/clock_digits.h"
#include "rules/evaluate_rules.h"
#include "rules_test_support.h"
#include "support/test_files.h"
#include "window/start_up.h"

namespace {

class SayTime : public ::testing::Test {
 protected:
  void SetUp() override { ResetRulesState(); }
  void TearDown() override { fake::JoinThreads(); }
  static int Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "quorvel");
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    return RunQuorvel(static_cast<int>(argv.size()), argv.data());
  }
};

// The phrase is what an alarm at that minute says after its marker.
TEST_F(SayTime, SpeaksWhatAnAlarmAtThatMinuteSaysInTheSettingsReading) {
  const struct {
    const char* time;
    Clocks clocks;
  } cases[] = {{"09:52", k12}, {"21:52", k12}, {"21:52", k24}, {"00:00", k12},
               {"00:05", k24}, {"12:07", kBoth}, {"13:00", kNeither}};
  for (const auto& c : cases) {
    fake::SetClock(std::string(c.time) + ":00");
    const ClockDigits digits = *ClockDigitsFromText(c.time);
    platform::SetPickerTime(AlarmPicker1, HourOf(digits), MinuteOf(digits));
    const std::string alarm =
        EvaluateRules(c.time, OnlyRules({SayAlarm1}), c.clocks.hour12, c.clocks.hour24);
    SettingsRecord settings;
    settings.Hour12 = c.clocks.hour12;
    settings.Hour24 = c.clocks.hour24;
    EXPECT_EQ("ALARM! " + TimePhrase(c.time, settings), alarm) << c.time;
  }
  SettingsRecord twelve;
  twelve.Hour12 = 1;
  EXPECT_EQ(TimePhrase("09:52", twelve), "9 52");
}

// The user's file decides the reading; it is read, never tidied or written.
TEST_F(SayTime, ReadsTheUsersFileLeavesTheFolderAsItWasAndOpensNoWindow) {
  const std::string folder = fake::ProgramFolderPath();
  const std::string file = "12hour: 0\r\n24hour: 1\r\n";
  test_files::Write(folder + "quorvel.ini", file);
  const std::string leftover = folder + ".quorvel.ini.AbCdEf.quorvel-save";
  test_files::Write(leftover, "half a save");
  test_files::MakeOld(leftover);
  const std::vector<std::string> before = test_files::Entries(folder);
  fake::SetClock("21:52:10");
  EXPECT_EQ(Run({"--say-time"}), 0);
  EXPECT_EQ(fake::Calls(), (std::vector<std::string>{"EnterSpeechThread", "CreateVoice",
                                                     "Speak 21 52", "WaitUntilDone",
                                                     "ReleaseVoice", "LeaveSpeechThread"}));
  EXPECT_EQ(test_files::Entries(folder), before);
  EXPECT_EQ(test_files::Read(folder + "quorvel.ini"), file);
}

TEST_F(SayTime, OptionsAnswerAndEndWhileOtherArgumentsOpenTheWindow) {
  const struct {
    std::vector<std::string> arguments;
    bool voice;
    int status;
    const char* first_call;  // the start of the first call recorded
    const char* printed;     // the start of the one answer printed, if any
  } cases[] = {
      {{"--help"}, true, 0, "PrintAnswer", "PrintAnswer Usage: quorvel [OPTION]\n"},
      {{"-h", "--bogus"}, true, 0, "PrintAnswer", "PrintAnswer Usage: quorvel [OPTION]\n"},
      {{"--version"}, true, 0, "PrintAnswer", "PrintAnswer quorvel 1."},
      {{"--bogus", "--help"}, true, 2, "PrintError",
       "PrintError quorvel: unknown option '--bogus' (quorvel --help lists the options)\n"},
      {{"--say-time"}, false, 1, "EnterSpeechThread",
       "PrintError quorvel: no voice could speak the time\n"},
      {{"-platform", "offscreen"}, true, 0, "StartWindowSystem", nullptr},
      // The window system's options pass, their values with them.
      {{"--platform", "offscreen"}, true, 0, "StartWindowSystem", nullptr},
      {{"--platform", "--bogus", "--version"}, true, 0, "PrintAnswer", "PrintAnswer quorvel 1."},
      {{"--reverse", "--bogus"}, true, 2, "PrintError",
       "PrintError quorvel: unknown option '--bogus'"},
      {{"---platform", "offscreen"}, true, 2, "PrintError",
       "PrintError quorvel: unknown option '---platform'"},
      // A lone "--" ends the options.
      {{"--"}, true, 0, "StartWindowSystem", nullptr},
      {{"--", "--bogus"}, true, 0, "StartWindowSystem", nullptr},
  };
  for (const auto& c : cases) {
    fake::Reset();
    fake::SetVoiceAvailable(c.voice);
    EXPECT_EQ(Run(c.arguments), c.status) << c.arguments[0];
    const std::vector<std::string> calls = fake::Calls();
    ASSERT_FALSE(calls.empty()) << c.arguments[0];
    EXPECT_EQ(calls.front().rfind(c.first_call, 0), 0u) << calls.front();
    std::vector<std::string> printed;
    for (const std::string& call : calls)
      if (call.rfind("Print", 0) == 0) printed.push_back(call);
    if (c.printed == nullptr) {
      EXPECT_TRUE(printed.empty()) << c.arguments[0];
    } else {
      ASSERT_EQ(printed.size(), 1u) << c.arguments[0];
      EXPECT_EQ(printed[0].rfind(c.printed, 0), 0u) << printed[0];
      EXPECT_EQ(printed[0].back(), '\n');
    }
  }
  EXPECT_EQ(fake::Calls().back(), "ReleaseWindowResources");
}

}  // namespace
