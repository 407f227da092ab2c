// The window's timer with a fixed clock, and what is announced.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "backends/win32/program_session.h"
#include "backends/win32/recorder.h"

using namespace wine_test;

namespace {

void Tick(HWND main, WPARAM timer_id = 1000) { ::SendMessageA(main, WM_TIMER, timer_id, 0); }

int CountCalls(const std::string& prefix) {
  int count = 0;
  for (const std::string& call : Calls()) count += call.compare(0, prefix.size(), prefix) == 0;
  return count;
}

}  // namespace

TEST(ClockTick, MatchingMinuteIsSpokenOnceAndTheLabelFollowsTheClock) {
  RunProgram([](HWND main) {
    FixClock("12:34:10");
    Tick(main, 999);
    EXPECT_EQ(Text(main, 1010), "00:00") << "another timer changes nothing";

    Tick(main);
    EXPECT_EQ(Text(main, 1010), "12:34");
    EXPECT_TRUE(WaitForCall("Speak 1 2 3 4"));
    EXPECT_TRUE(WaitForCall("WaitUntilDone"));
    EXPECT_EQ(CountCalls("CreateVoice failed"), 0) << "the system's voice was not reachable";

    FixClock("12:34:50");
    Tick(main);
    Settle();
    EXPECT_EQ(CountCalls("Speak "), 1) << "a minute is announced once";

    FixClock("13:45:00");
    Tick(main);
    EXPECT_EQ(Text(main, 1010), "1:45");
  });
}

TEST(ClockTick, SpokenAlarmRepeatsUntilItsBoxIsDismissed) {
  RunProgram([](HWND main) {
    FixClock("07:05:00");
    ::PostMessageA(main, WM_TIMER, 1000, 0);  // the tick waits inside the alarm box
    const HWND box = WaitForWindow("It's time!");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(BoxText(box), "Your alarm is going off! Are you ready?");
    EXPECT_TRUE(WaitForCall("Speak Alarm! "));
    EXPECT_EQ(Text(main, 1010), "00:00") << "the label waits for the alarm";

    PressOk(box);
    EXPECT_TRUE(WaitUntilGone("It's time!"));
    EXPECT_TRUE(WaitForText(main, 1010, "7:05")) << Text(main, 1010);
    ::Sleep(500);  // an utterance begun as the box closed may still start
    const int spoken = CountCalls("Speak Alarm! ");
    ::Sleep(600);
    EXPECT_EQ(CountCalls("Speak Alarm! "), spoken) << "no repetition after the dismissal";
  }, "SayAlarm1: 1\r\nAlarm1time: 7:05\r\n");
}

TEST(ClockTick, SoundAlarmLoopsUntilItsBoxIsDismissed) {
  const std::string sound = ProgramFolder() + "bell.wav";
  WriteFile(sound, "RIFF");
  RunProgram([&](HWND main) {
    FixClock("21:30:00");
    ::PostMessageA(main, WM_TIMER, 1000, 0);
    const HWND box = WaitForWindow("It's time!");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(WaitForCall("PlaySound " + sound + "|0x20009"));
    EXPECT_FALSE(WaitForCall("PlaySound |0x2", 200)) << "stopped before the dismissal";
    PressOk(box);
    EXPECT_TRUE(WaitForCall("PlaySound |0x2"));
  }, "SayAlarm2: 1\r\nAlarm2time: 21:30\r\nSpeakAlarm2: 0\r\nSFXAlarm2: " + sound + "\r\n");
  ::DeleteFileA(sound.c_str());
}
