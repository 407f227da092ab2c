// The core's speech tasks and alarm repeater speaking through a real
// speech-dispatcher of the test's own, with SDL's disk driver as the sound
// device the espeak-ng fallback would use.
#include <signal.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>

#include "announce/alarm_repeater.h"
#include "announce/speech.h"
#include "audio_test_support.h"
#include "private_dispatcher.h"

namespace {

using Clock = std::chrono::steady_clock;

class DispatcherSpeech : public DiskAudio {
 protected:
  void TearDown() override {
    ConfirmAlarm();
    speechd_.reset();
    DiskAudio::TearDown();
  }
  // Kept until the alarm has ended, also when a check fails first: a
  // repetition after it would start the machine's own daemon.
  PrivateDispatcher& Dispatcher(const PrivateDispatcher::Setup& setup) {
    return speechd_.emplace(setup);
  }
  static bool SpeechOver(int seconds = 10) {
    return WaitFor([] { return SpeechBusyCount.load() == 0; }, seconds);
  }
  static void Say(const std::string& text) {
    ASSERT_TRUE(StartSpeechTask(text));
    ASSERT_TRUE(SpeechOver());
  }
  void StartAlarm(const std::string& text) {
    const SpokenAlarm alarm = StartSpokenAlarm(text);
    ASSERT_NE(alarm.repeater, nullptr);
    platform::CloseThread(alarm.repeater);
    alarm_ = alarm.token;
  }
  // Ends the repeater as the alarm box's button does and waits for its last
  // repetition, so no thread of this test outlives it.
  void ConfirmAlarm() {
    if (alarm_ == 0) return;
    EndSpokenAlarm(alarm_);
    EXPECT_TRUE(WaitFor([this] { return !AlarmRepeats(alarm_); }, 10));
    EXPECT_TRUE(SpeechOver());
    alarm_ = 0;
  }
  bool Silent() const { return Loud(LeftChannel()).end == 0; }

  AlarmToken alarm_ = 0;  // the alarm under way, if any
  std::optional<PrivateDispatcher> speechd_;
};

std::size_t Count(const std::vector<std::string>& lines, const std::string& line) {
  return std::count(lines.begin(), lines.end(), line);
}

// The voice, rate and module come from the user's configuration, a section
// for the client "quorvel" included; nothing reaches the sound device.
TEST_F(DispatcherSpeech, TheUsersConfigurationChoosesTheVoice) {
  const struct {
    const char* user_lines;
    const char* module;
    const char* heard;
  } cases[] = {
      {"DefaultLanguage \"en\"", "rec", "male-voice 0.00 1 2 3 4"},
      {"DefaultLanguage \"en\"\nDefaultVoiceType \"FEMALE1\"\nDefaultRate 40", "rec",
       "female-voice 40.00 1 2 3 4"},
      {"DefaultLanguage \"en\"\n"
       "BeginClient \"*:quorvel:*\"\n  DefaultModule own\n  DefaultRate -20\nEndClient\n"
       "BeginClient \"*:other:*\"\n  DefaultModule rec\nEndClient",
       "own", "male-voice -20.00 1 2 3 4"},
  };
  for (const auto& c : cases) {
    PrivateDispatcher speechd({c.user_lines});
    Say("1 2 3 4");
    std::vector<std::string> expected = {c.heard};
    EXPECT_EQ(speechd.Spoken(c.module), expected) << c.user_lines;
    EXPECT_EQ(speechd.Spoken(c.module == std::string("rec") ? "own" : "rec").size(), 0u);
  }
  EXPECT_TRUE(Silent());
}

// Each repetition waits for the end of the one before, then pauses 150 ms:
// with 0.3 s a text, five repetitions after the first take at least 2.25 s.
// Without the wait the daemon would queue them and speak one every 0.3 s.
TEST_F(DispatcherSpeech, ARepeatedAlarmSpeaksWaitsAndSpeaksAgain) {
  PrivateDispatcher& speechd = Dispatcher({"DefaultLanguage \"en\"", 0.3});
  const std::string line = "male-voice 0.00 Alarm 12:35";
  StartAlarm("Alarm 12:35");
  ASSERT_TRUE(WaitFor([&] { return speechd.Spoken().size() >= 1; }, 10));
  const auto first = Clock::now();
  ASSERT_TRUE(WaitFor([&] { return speechd.Spoken().size() >= 6; }, 10));
  const double seconds = std::chrono::duration<double>(Clock::now() - first).count();
  ConfirmAlarm();
  EXPECT_GE(seconds, 5 * (0.3 + 0.15)) << seconds;
  EXPECT_EQ(Count(speechd.Spoken(), line), speechd.Spoken().size());
  EXPECT_TRUE(Silent());
}

// DisableAutoSpawn makes the daemon refuse to start: espeak-ng speaks.
TEST_F(DispatcherSpeech, WithoutTheDaemonEspeakNgSpeaksThroughTheSoundDevice) {
  PrivateDispatcher speechd({"DisableAutoSpawn"});
  Say("1 2 3 4");
  EXPECT_EQ(speechd.Daemon(), 0);
  EXPECT_GT(Loud(LeftChannel()).Seconds(), 0.5);
}

// A refusal is not tried again at every repetition of an alarm: for a minute
// espeak-ng speaks, even once the daemon would start.
TEST_F(DispatcherSpeech, AfterARefusalTheDaemonIsNotTriedAgainForAMinute) {
  PrivateDispatcher speechd({"DisableAutoSpawn"});
  Say("1 2 3 4");
  speechd.Configure("DefaultLanguage \"en\"");
  Say("1 2 3 4");
  EXPECT_EQ(speechd.Daemon(), 0);
  EXPECT_TRUE(speechd.Spoken().empty());
  EXPECT_GT(Loud(LeftChannel()).Seconds(), 0.5);
}

// The daemon killed while it speaks an alarm: the wait for the end that will
// never come ends at once, and the next repetition starts the daemon again.
TEST_F(DispatcherSpeech, TheDaemonKilledMidAlarmSpeechGoesOn) {
  PrivateDispatcher& speechd = Dispatcher({"DefaultLanguage \"en\"", 2});
  StartAlarm("Alarm 12:35");
  ASSERT_TRUE(WaitFor([&] { return speechd.Spoken().size() == 1; }, 10));
  const pid_t first = speechd.Daemon();
  ASSERT_NE(first, 0);
  const auto killed = Clock::now();
  speechd.Kill();
  ASSERT_TRUE(WaitFor([&] { return speechd.Spoken().size() >= 2; }, 5));
  EXPECT_LT(std::chrono::duration<double>(Clock::now() - killed).count(), 1.5);
  EXPECT_NE(speechd.Daemon(), first);
  ConfirmAlarm();
}

// The daemon stopped mid-alarm, as one stuck on its sound device: espeak-ng
// says the alarm within 12 s, and once it is dismissed nothing more is
// spoken when the daemon goes on.
TEST_F(DispatcherSpeech, TheDaemonStoppedMidAlarmTheAlarmIsStillHeard) {
  if (kDaemonStoppedMidCommandHangsTheRuntime) GTEST_SKIP() << kSkippedUnderThreadSanitizer;
  PrivateDispatcher& speechd = Dispatcher({"DefaultLanguage \"en\"", 4});
  StartAlarm("Alarm 12:35");
  ASSERT_TRUE(WaitFor([&] { return speechd.Spoken().size() == 1; }, 10));
  const pid_t daemon = speechd.Daemon();
  ASSERT_NE(daemon, 0);
  ::kill(daemon, SIGSTOP);
  const struct Resume {
    pid_t daemon;
    ~Resume() { ::kill(daemon, SIGCONT); }
  } resume{daemon};
  const auto stopped = Clock::now();
  const bool heard = WaitFor([&] { return !Silent(); }, 15);
  const double seconds = std::chrono::duration<double>(Clock::now() - stopped).count();
  EXPECT_TRUE(heard);
  EXPECT_LT(seconds, 12.0);
  ConfirmAlarm();
  const std::size_t spoken = speechd.Spoken().size();
  ::kill(daemon, SIGCONT);
  std::this_thread::sleep_for(std::chrono::seconds(3));
  EXPECT_EQ(speechd.Spoken().size(), spoken);
}

}  // namespace
