// quorvel --say-time end to end: the real program, copied with its sound
// module into a folder of its own (a portable copy, its settings file beside
// it), speaking through a speech-dispatcher of the test's own; and the
// program's command line as Qt sees it.
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "audio_test_support.h"
#include "private_dispatcher.h"
#include "process_run.h"
#include "support/program_copy.h"

namespace {

namespace fs = std::filesystem;

// How the minute now reads aloud: "9 52", "21 52", "12 oh 5".
std::string MinuteNow(bool twelve_hour) {
  const std::time_t now = std::time(nullptr);
  const std::tm local = *std::localtime(&now);
  const int hour = twelve_hour ? (local.tm_hour + 11) % 12 + 1 : local.tm_hour;
  return std::to_string(hour) + (local.tm_min < 10 ? " oh " : " ") + std::to_string(local.tm_min);
}

class SayTimeCommand : public DiskAudio {
 protected:
  void SetUp() override {
    DiskAudio::SetUp();
    char name[] = "/tmp/quorvel-say-time-XXXXXX";
    folder_ = mkdtemp(name);
    test_program::CopyProgramInto(folder_);
  }
  void TearDown() override {
    fs::remove_all(folder_);
    DiskAudio::TearDown();
  }
  // A hand-written file: what is not in it keeps its default.
  ProcessRun SayTime(bool twelve_hour) const {
    std::ofstream(folder_ + "/quorvel.ini", std::ios::binary)
        << "12hour: " << twelve_hour << "\r\n24hour: " << !twelve_hour << "\r\n";
    return RunProcess({folder_ + "/quorvel", "--say-time"}, 20, true);
  }
  std::string folder_;
};

// In a time zone where it is afternoon now, so that the readings differ.
void MakeItAfternoon() {
  const std::time_t now = std::time(nullptr);
  const int hours_ahead = (15 - std::gmtime(&now)->tm_hour + 24) % 24;
  setenv("TZ", ("QRV-" + std::to_string(hours_ahead)).c_str(), 1);
  tzset();
}

TEST_F(SayTimeCommand, SpeaksTheMinuteInTheUsersReadingAndEnds) {
  MakeItAfternoon();
  for (const bool twelve_hour : {true, false}) {
    const PrivateDispatcher speechd({"DefaultLanguage \"en\"", 0.3});
    const std::string before = MinuteNow(twelve_hour);
    const ProcessRun run = SayTime(twelve_hour);
    const std::string after = MinuteNow(twelve_hour);
    EXPECT_TRUE(ExitedWith(run, 0)) << run.errors;
    const std::vector<std::string> spoken = speechd.Spoken();
    ASSERT_EQ(spoken.size(), 1u) << twelve_hour;
    // The minute may turn while the program starts.
    EXPECT_TRUE(spoken[0] == "male-voice 0.00 " + before ||
                spoken[0] == "male-voice 0.00 " + after)
        << spoken[0] << " at " << before;
  }
  unsetenv("TZ");
  tzset();
  EXPECT_EQ(Loud(LeftChannel()).end, 0u) << "the daemon speaks, not the program";
}

// A daemon that stopped, as one stuck on its sound device: espeak-ng says the
// time through the device once the connection is given up, and the program
// ends, leaving that connection behind.
TEST_F(SayTimeCommand, ADaemonThatStoppedAnsweringLeavesItToEspeakNgAndTheProgramEnds) {
  if (kDaemonStoppedMidCommandHangsTheRuntime) GTEST_SKIP() << kSkippedUnderThreadSanitizer;
  const PrivateDispatcher speechd({"DefaultLanguage \"en\""});
  ASSERT_TRUE(ExitedWith(SayTime(false), 0));
  const pid_t daemon = speechd.Daemon();
  ASSERT_NE(daemon, 0);
  ::kill(daemon, SIGSTOP);
  std::ofstream(path_, std::ios::trunc).close();
  const ProcessRun run = SayTime(false);
  ::kill(daemon, SIGCONT);
  EXPECT_TRUE(ExitedWith(run, 0)) << (run.ended ? run.errors : "never ended");
  EXPECT_GT(Loud(LeftChannel()).Seconds(), 0.3);
}

// Qt takes its own options with one dash or two: with no display and no
// platform named in the environment, the window still opens on the one the
// command line names and runs until it is ended. Options Qt does not take
// are refused.
TEST_F(SayTimeCommand, QtsOwnOptionsPassToQt) {
  const struct Row {
    std::vector<std::string> options;
    bool runs;  // else it exits 2
  } rows[] = {
      {{"--platform", "offscreen"}, true},
      {{"-platform", "offscreen", "--reverse", "--style=fusion", "--qwindowtitle", "Q", "--"},
       true},
      {{"--platform=offscreen"}, false},
  };
  const std::vector<std::string> cleared = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
  std::vector<std::pair<std::string, std::string>> saved;
  for (const std::string& name : cleared)
    if (const char* value = getenv(name.c_str())) saved.emplace_back(name, value);
  for (const std::string& name : cleared) unsetenv(name.c_str());
  for (const Row& row : rows) {
    std::vector<std::string> arguments = {folder_ + "/quorvel"};
    arguments.insert(arguments.end(), row.options.begin(), row.options.end());
    const ProcessRun run = RunProcess(arguments, 2, true);
    if (row.runs)
      EXPECT_FALSE(run.ended) << row.options[0] << ": " << run.errors;
    else
      EXPECT_TRUE(ExitedWith(run, 2)) << row.options[0] << ": " << run.errors;
  }
  for (const auto& [name, value] : saved) setenv(name.c_str(), value.c_str(), 1);
}

// No daemon, and espeak-ng without its data: one line says so.
TEST_F(SayTimeCommand, WhenNothingCanSpeakItSaysSoInOneLineAndFails) {
  const std::string data = folder_ + "/espeak-ng-data";
  fs::create_directory(data);
  setenv("ESPEAK_DATA_PATH", folder_.c_str(), 1);
  // LeakSanitizer's list of suppressed leaks is no line of the program's.
  const std::string leak_options = getenv("LSAN_OPTIONS") ? getenv("LSAN_OPTIONS") : "";
  setenv("LSAN_OPTIONS", (leak_options + ":print_suppressions=0").c_str(), 1);
  ProcessRun run;
  {
    const PrivateDispatcher refusing({"DisableAutoSpawn"});
    run = SayTime(true);
  }
  unsetenv("ESPEAK_DATA_PATH");
  setenv("LSAN_OPTIONS", leak_options.c_str(), 1);
  EXPECT_TRUE(ExitedWith(run, 1));
  EXPECT_EQ(run.errors, "quorvel: no voice could speak the time\n");
}

}  // namespace
