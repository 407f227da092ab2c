#include "announce/speech.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "announce_test_support.h"
#include "fake/fake_platform.h"

namespace {

using Calls = std::vector<std::string>;

TEST(SpeakText, StaysBusyUntilThePauseAfterTheVoiceIsOver) {
  struct Case {
    bool voice;
    Calls seen;
  };
  const Case cases[] = {
      {true,
       {"EnterSpeechThread @1", "CreateVoice @1", "Speak 1 2 3 4 @1", "WaitUntilDone @1",
        "Sleep 150 @1", "ReleaseVoice @0", "LeaveSpeechThread @0"}},
      {false,
       {"EnterSpeechThread @1", "CreateVoice failed @1", "Beep 500 300 @1", "Beep 1000 300 @1",
        "LeaveSpeechThread @0"}},
  };
  for (const Case& c : cases) {
    WatchedFake machine(true);
    fake::SetVoiceAvailable(c.voice);
    SpeechBusyCount = 1;  // as its starter leaves it
    SpeakText("1 2 3 4");
    EXPECT_EQ(machine.TestThreadCalls(), c.seen) << "voice " << c.voice;
  }
}

TEST(StartSpeechTask, CountsTheTaskFromBeforeItsStartToItsEnd) {
  struct Case {
    int failing_starts;
    bool started;
    Calls seen;
  };
  const Case cases[] = {
      {0, true, {"StartThread @1", "Sleep 150 @1", "CloseThread @1"}},
      {1, false, {"StartThread failed @1"}},
  };
  for (const Case& c : cases) {
    WatchedFake machine(true);
    fake::FailThreadStarts(c.failing_starts);
    machine.HoldAt("EnterSpeechThread", 1);
    EXPECT_EQ(StartSpeechTask("4 20"), c.started);
    EXPECT_EQ(machine.TestThreadCalls(), c.seen);
    EXPECT_EQ(SpeechBusyCount.load(), c.started ? 1 : 0);
    machine.Release();
    fake::JoinThreads();
    EXPECT_EQ(SpeechBusyCount.load(), 0);
    EXPECT_EQ(fake::CountCalls("Speak 4 20"), c.started ? 1 : 0);
  }
}

}  // namespace
