// Daemons that answer and then hang up or go quiet at each step of a phrase,
// played by a stand-in (fake_dispatcher.h): the phrase is still heard,
// through espeak-ng when the daemon did not take it, and the speech task ends
// within the bounds of its waits.
#include <algorithm>
#include <chrono>

#include "announce/speech.h"
#include "audio_test_support.h"
#include "fake_dispatcher.h"

namespace {

using Clock = std::chrono::steady_clock;
using Fault = FakeDispatcher::Fault;

class DispatcherFault : public DiskAudio {
 protected:
  static double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
  }
  static bool SpeechOver(int seconds) {
    return WaitFor([] { return SpeechBusyCount.load() == 0; }, seconds);
  }
};

// Steps: 1 the client name, 2 and 3 the reports switched on, 4 the priority,
// 5 SPEAK, 6 the end of the text (the message queued), 7 the first question
// whether the daemon still answers while the text is spoken.
TEST_F(DispatcherFault, EveryPhraseIsHeardWhateverTheDaemonDoes) {
  if (kDaemonStoppedMidCommandHangsTheRuntime) GTEST_SKIP() << kSkippedUnderThreadSanitizer;
  const struct Row {
    FakeDispatcher::Script script;
    bool by_espeak;  // else the daemon took it
    double within;   // seconds until the task is over
  } rows[] = {
      {{0, Fault::kNone, 0}, false, 1},
      {{1, Fault::kGoQuiet, 0}, true, 8},
      {{2, Fault::kGoQuiet, 0}, true, 8},
      {{4, Fault::kGoQuiet, 0}, true, 6},
      {{6, Fault::kGoQuiet, 0}, true, 6},
      {{7, Fault::kGoQuiet, 0}, true, 8},
      // A daemon closing 1 to 50 ms after naming the client crashed the library.
      {{1, Fault::kHangUp, 1}, true, 3},
      {{1, Fault::kHangUp, 10}, true, 3},
      {{1, Fault::kHangUp, 50}, true, 3},
      {{2, Fault::kHangUp, 0}, true, 3},
      {{5, Fault::kHangUp, 0}, true, 3},
      {{6, Fault::kHangUp, 0}, false, 1},
  };
  for (const Row& row : rows) {
    const std::string name = "fault " + std::to_string(static_cast<int>(row.script.fault)) +
                             " at step " + std::to_string(row.script.step);
    std::ofstream(path_, std::ios::trunc).close();
    const FakeDispatcher daemon(row.script);
    const auto start = Clock::now();
    ASSERT_TRUE(StartSpeechTask("1 2 3 4")) << name;
    ASSERT_TRUE(SpeechOver(20)) << name;
    const double seconds = SecondsSince(start);
    EXPECT_LT(seconds, row.within) << name;
    EXPECT_EQ(Loud(LeftChannel()).Seconds() > 0.5, row.by_espeak) << name;
    if (!row.by_espeak) {
      const std::vector<std::string> received = daemon.Received();
      EXPECT_EQ(std::count(received.begin(), received.end(), "SPEAK"), 1) << name;
    }
  }
}

// A daemon that answers but never reports the end: given up on after 30 s,
// the text is cancelled rather than left queued to be heard later.
TEST_F(DispatcherFault, ATextNeverReportedOverIsCancelled) {
  if (kDaemonStoppedMidCommandHangsTheRuntime) GTEST_SKIP() << kSkippedUnderThreadSanitizer;
  const FakeDispatcher daemon({0, Fault::kNeverEnds, 0});
  const auto start = Clock::now();
  ASSERT_TRUE(StartSpeechTask("1 2 3 4"));
  ASSERT_TRUE(SpeechOver(40));
  EXPECT_GE(SecondsSince(start), 30);
  EXPECT_EQ(daemon.Received().back(), "CANCEL SELF");
}

}  // namespace
