#include "announce/announcer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>
#include <string>
#include <vector>

#include "announce_test_support.h"
#include "fake/fake_platform.h"

namespace {

using Calls = std::vector<std::string>;

const std::string kBox = "ShowStopBox It's time!|Your alarm is going off! Are you ready?";
const std::string kDismissed = "StopBox dismissed";

// The calls that show what the user saw and heard, from every thread.
Calls SoundSpeechAndBoxCalls() {
  Calls kept;
  for (const std::string& call : fake::Calls())
    for (const char* prefix : {"PlaySound", "StopSound", "ShowStopBox", "StartThread", "Speak "})
      if (call.rfind(prefix, 0) == 0) kept.push_back(call);
  return kept;
}

TEST(Announce, TellsAlarmsSoundFilesAndPhrasesApart) {
  const std::string long_path = "C:\\" + std::string(300, 'a') + ".wav";
  const std::string cut_path = long_path.substr(0, 255);
  const struct {
    std::string text;
    Calls heard;
  } cases[] = {
      {"12 o clock", {"StartThread", "Speak 12 o clock"}},
      {"", {}},
      {"ALARM! ", {}},
      {"aLaRm!", {}},
      {"alarm", {"StartThread", "Speak alarm"}},
      {"Alarm? 3 2 1", {"StartThread", "Speak Alarm? 3 2 1"}},
      {"C:\\chime.WAV", {"StartThread", "PlaySoundSync C:\\chime.WAV"}},
      {"bells.wave is not a phrase", {"StartThread", "PlaySoundSync bells.wave is not a phrase"}},
      {"ALARM! C:\\bell.wAv", {"PlaySoundLoop C:\\bell.wAv", kBox, "StopSound"}},
      {"alarm!_x.wav", {"PlaySoundLoop x.wav", kBox, "StopSound"}},
      {long_path, {"StartThread", "PlaySoundSync " + cut_path}},
      {"ALARM! " + long_path, {"PlaySoundLoop " + cut_path, kBox, "StopSound"}},
  };
  WatchedFake machine;
  for (const auto& c : cases) {
    fake::ClearCalls();
    Announce(c.text);
    fake::JoinThreads();
    EXPECT_EQ(SoundSpeechAndBoxCalls(), c.heard) << c.text;
    EXPECT_EQ(SpeechBusyCount.load(), 0) << c.text;
  }
}

TEST(Announce, WaitsBeforeLettingGoOfAStartedThread) {
  const struct {
    std::string text;
    int failing_starts;
    Calls seen;
  } cases[] = {
      {"4 20", 0, {"StartThread", "Sleep 150", "CloseThread"}},
      {"4 20", 1, {"StartThread failed"}},
      {"ALARM! 5 05", 0, {"StartThread", kBox, kDismissed, "Sleep 150", "CloseThread"}},
      {"ALARM! 5 05", 1, {"StartThread failed", kBox, kDismissed}},
      {"ALARM! a.wav", 0, {"PlaySoundLoop a.wav", kBox, kDismissed, "StopSound"}},
  };
  for (const auto& c : cases) {
    WatchedFake machine;
    fake::FailThreadStarts(c.failing_starts);
    Announce(c.text);
    fake::JoinThreads();
    EXPECT_EQ(machine.TestThreadCalls(), c.seen) << c.text << " failing " << c.failing_starts;
    EXPECT_EQ(SpeechBusyCount.load(), 0) << c.text;
    if (c.failing_starts > 0) {
      EXPECT_EQ(fake::CountCalls("EnterSpeechThread"), 0) << c.text;
    }
  }
}

TEST(Announce, SpokenAlarmRepeatsUntilDismissedThenEndsItsLastUtterance) {
  const int kUtterances = 3;
  const struct {
    bool voice;
    std::string utterance;  // the call that marks one repetition
  } cases[] = {
      {true, "Speak Alarm! wake up"},
      {false, "Beep 1000 300"},
  };
  for (const auto& c : cases) {
    WatchedFake machine;
    fake::SetVoiceAvailable(c.voice);
    // The last utterance is still under way when the user dismisses the box.
    machine.HoldAt(c.utterance, kUtterances);
    // Another announcement is still speaking when the alarm goes off.
    SpeechBusyCount += 1;
    bool repeated = false;
    fake::OnStopBox([&] {
      EXPECT_TRUE(fake::WaitUntil([] { return fake::CountCalls("Sleep 150") >= 5; }));
      EXPECT_EQ(fake::CountCalls("StartThread"), 1) << "spoke over a busy voice";
      SpeechBusyCount -= 1;
      repeated = fake::WaitUntil([&] { return fake::CountCalls(c.utterance) == kUtterances; });
    });
    Announce("aLaRm!-wake up");
    EXPECT_TRUE(repeated) << c.utterance;
    machine.Release();
    fake::JoinThreads();
    EXPECT_EQ(fake::CountCalls(c.utterance), kUtterances);
    EXPECT_EQ(fake::CountCalls("StartThread"), 1 + kUtterances) << c.utterance;
    EXPECT_EQ(fake::CountCalls("LeaveSpeechThread"), kUtterances) << c.utterance;
    EXPECT_EQ(fake::CountCalls("Beep 500 300"), c.voice ? 0 : kUtterances);
    EXPECT_EQ(SpeechBusyCount.load(), 0) << c.utterance;
  }
}

// The second box opens and is dismissed inside the first, and the first is
// dismissed at once after: both before either repeater looks again. Neither
// alarm may speak on.
TEST(Announce, TwoAlarmsDismissedAtOnceBothStop) {
  WatchedFake machine;
  fake::SetSleepScale(1.0);  // the repeaters look every 150 ms
  SpeechBusyCount += 1;      // another voice: the repeaters wait, saying nothing yet
  int boxes = 0;
  fake::OnStopBox([&] {
    if (boxes++ == 0) Announce("ALARM! second");
  });
  Announce("ALARM! first");
  SpeechBusyCount -= 1;
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  EXPECT_EQ(fake::CountCalls("Speak "), 0);
}

// Two alarms' boxes open at once, the second inside the first: dismissing
// the second ends that alarm, and the first speaks on until its own box is
// dismissed.
TEST(Announce, EachBoxEndsItsOwnAlarmAndOnlyThatOne) {
  WatchedFake machine;
  const std::string first = "Speak Alarm! 10 00", second = "Speak Alarm! 10 01";
  bool first_went_on = false;
  int second_after_its_box = 0;
  int boxes = 0;
  fake::OnStopBox([&] {
    if (boxes++ == 1) {  // the second's box, dismissed once both have spoken
      EXPECT_TRUE(fake::WaitUntil(
          [&] { return fake::CountCalls(first) >= 1 && fake::CountCalls(second) >= 1; }));
      return;
    }
    Announce("ALARM! 10 01");
    // At most the repetition under way as the box went is still said.
    second_after_its_box = fake::CountCalls(second) + 1;
    const int first_before = fake::CountCalls(first);
    first_went_on = fake::WaitUntil([&] { return fake::CountCalls(first) >= first_before + 3; });
  });
  Announce("ALARM! 10 00");
  fake::JoinThreads();
  EXPECT_TRUE(first_went_on);
  EXPECT_LE(fake::CountCalls(second), second_after_its_box);
}

TEST(Announce, AlarmWhoseRepeaterFailedDoesNotCutTheNextOneShort) {
  const struct {
    const char* failure;
    std::function<void()> before;  // ahead of the first alarm
    std::function<void()> in_box;  // while the first alarm's box is up
  } cases[] = {
      {"the repeater cannot start", [] { fake::FailThreadStarts(1); }, [] {}},
      {"a repetition cannot start",
       // Another announcement's voice keeps the repeater waiting until the
       // next start is sure to fail.
       [] { SpeechBusyCount += 1; },
       [] {
         fake::FailThreadStarts(1);
         SpeechBusyCount -= 1;
         EXPECT_TRUE(fake::WaitUntil([] { return fake::CountCalls("StartThread failed") == 1; }));
         fake::JoinThreads();  // the repeater has given up
       }},
  };
  for (const auto& c : cases) {
    WatchedFake machine;
    c.before();
    fake::OnStopBox(c.in_box);
    Announce("ALARM! first");
    EXPECT_EQ(fake::CountCalls("Speak "), 0) << c.failure;

    bool repeated = false;
    fake::OnStopBox([&] {
      repeated = fake::WaitUntil([] { return fake::CountCalls("Speak Alarm! second") >= 2; });
    });
    Announce("ALARM! second");
    EXPECT_TRUE(repeated) << c.failure;
    fake::JoinThreads();
    EXPECT_EQ(SpeechBusyCount.load(), 0) << c.failure;
  }
}

}  // namespace
