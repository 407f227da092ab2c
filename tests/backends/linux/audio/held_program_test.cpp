// The real program held (SIGSTOP) from before an alarm's minute until after
// it, as a machine asleep holds it, on an X server of the test's own and
// speaking through a speech-dispatcher of the test's own.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <thread>

#include "audio_test_support.h"
#include "private_dispatcher.h"
#include "process_run.h"
#include "support/program_copy.h"
#include "support/virtual_display.h"

namespace {

namespace fs = std::filesystem;

// A zone whose seconds run `seconds_ahead` of UTC's: the minute's turn can be
// put a few seconds off.
void SetZoneSecondsAhead(int seconds_ahead) {
  setenv("TZ", ("QRV-0:00:" + std::to_string(seconds_ahead)).c_str(), 1);
  tzset();
}

std::tm LocalNow() {
  const std::time_t now = std::time(nullptr);
  return *std::localtime(&now);
}

std::string Words(int hour, int minute) {
  return std::to_string(hour) + (minute < 10 ? " oh " : " ") + std::to_string(minute);
}

// Whether a window with this title is mapped on the display, as xdotool
// finds it.
bool WindowShown(const std::string& title) {
  return RunProcess({"/usr/bin/xdotool", "search", "--onlyvisible", "--name", title}, 5).output !=
         "";
}

bool WaitFor(const std::function<bool()>& condition, int seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return true;
}

TEST(HeldProgram, AnAlarmWhoseMinuteWentByWhileHeldRingsWhenItRunsAgain) {
  const test_display::VirtualDisplay display = test_display::StartVirtualDisplay();
  ASSERT_FALSE(display.name.empty()) << "Xvfb did not start";
  char name[] = "/tmp/quorvel-held-XXXXXX";
  const std::string folder = mkdtemp(name);
  test_program::CopyProgramInto(folder);
  // Fifteen seconds before a minute turns: the program starts in the minute
  // before the alarm's.
  SetZoneSecondsAhead((45 - static_cast<int>(std::time(nullptr) % 60) + 60) % 60);
  const std::tm start = LocalNow();
  const int alarm_minute = (start.tm_hour * 60 + start.tm_min + 1) % (24 * 60);
  std::ofstream(folder + "/quorvel.ini", std::ios::binary)
      << "12hour: 0\r\n24hour: 1\r\nSayAlarm1: 1\r\nAlarm1time: " << alarm_minute / 60 << ":"
      << (alarm_minute % 60 < 10 ? "0" : "") << alarm_minute % 60 << "\r\n";

  const PrivateDispatcher speechd({"DefaultLanguage \"en\""});
  setenv("DISPLAY", display.name.c_str(), 1);
  setenv("QT_QPA_PLATFORM", "xcb", 1);
#ifdef __SANITIZE_THREAD__
  // Qt's xcb platform starts a D-Bus thread in glib code ThreadSanitizer
  // cannot follow; the program's own threads are checked offscreen, so here
  // a report in that code must not end the program under test.
  setenv("TSAN_OPTIONS", (std::string(getenv("TSAN_OPTIONS") ? getenv("TSAN_OPTIONS") : "") +
                          " halt_on_error=0 exitcode=0").c_str(), 1);
#endif
  const std::string program = folder + "/quorvel";
  char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
  // What the program says goes to a file, told when the test fails.
  posix_spawn_file_actions_t output;
  posix_spawn_file_actions_init(&output);
  posix_spawn_file_actions_addopen(&output, STDERR_FILENO, (folder + "/stderr").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t quorvel = 0;
  ASSERT_EQ(posix_spawn(&quorvel, argv[0], &output, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&output);
  EXPECT_TRUE(WaitFor([] { return WindowShown("Quorvel"); }, 10));
  ASSERT_EQ(kill(quorvel, SIGSTOP), 0);

  // Until early in the minute after the alarm's.
  EXPECT_TRUE(WaitFor([&] {
    const std::tm now = LocalNow();
    return (now.tm_hour * 60 + now.tm_min) % (24 * 60) == (alarm_minute + 1) % (24 * 60) &&
           now.tm_sec >= 1;
  }, 90));
  EXPECT_FALSE(WindowShown("It's time!")) << "the program was not held";
  const std::tm resumed = LocalNow();
  ASSERT_EQ(kill(quorvel, SIGCONT), 0);
  EXPECT_TRUE(WaitFor([] { return WindowShown("It's time!"); }, 15)) << "no alarm box";
  // A slow machine may take the next minute to get there.
  const int next = (resumed.tm_hour * 60 + resumed.tm_min + 1) % (24 * 60);
  EXPECT_TRUE(WaitFor([&] {
    for (const std::string& spoken : speechd.Spoken())
      if (spoken == "male-voice 0.00 Alarm! " + Words(resumed.tm_hour, resumed.tm_min) ||
          spoken == "male-voice 0.00 Alarm! " + Words(next / 60, next % 60))
        return true;
    return false;
  }, 15)) << "the alarm in the words of the time it rang at";
  if (HasFailure()) {
    std::ifstream said(folder + "/stderr");
    std::cerr << "the program's standard error:\n" << said.rdbuf();
  }

  kill(quorvel, SIGKILL);
  waitpid(quorvel, nullptr, 0);
  unsetenv("TZ");
  tzset();
  unsetenv("DISPLAY");
  unsetenv("QT_QPA_PLATFORM");
  fs::remove_all(folder);
  test_display::StopVirtualDisplay(display);
}

}  // namespace
