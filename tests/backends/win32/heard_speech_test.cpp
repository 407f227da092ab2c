// What the voice hears: through the recording voice registered in the
// prefix, the program's phrases word for word, their timing, a program ended
// mid-phrase, and alarms with no usable voice.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backends/win32/program_session.h"
#include "backends/win32/recorder.h"
#include "backends/win32/voice_setup.h"

using namespace wine_test;

namespace {

const char kAlarm705[] = "SayAlarm1: 1\r\nAlarm1time: 7:05\r\n";

// Ticks at `clock` without waiting: an alarm's tick waits inside its box.
void TickAt(HWND main, const char* clock) {
  FixClock(clock);
  ::PostMessageA(main, WM_TIMER, 1000, 0);
}

// An alarm's words at `time` on the default 12-hour clock: "7 oh 5".
std::string AlarmWordsAt(const SYSTEMTIME& time) {
  const std::string minute = time.wMinute < 10 ? "oh " + std::to_string(time.wMinute)
                                               : std::to_string(time.wMinute);
  return std::to_string((time.wHour + 11) % 12 + 1) + " " + minute;
}

// `time` moved on by `seconds`.
SYSTEMTIME Later(const SYSTEMTIME& time, int seconds) {
  FILETIME ticks;
  ::SystemTimeToFileTime(&time, &ticks);
  ULARGE_INTEGER count{{ticks.dwLowDateTime, ticks.dwHighDateTime}};
  count.QuadPart += 10000000ULL * seconds;
  ticks = {count.LowPart, count.HighPart};
  SYSTEMTIME later;
  ::FileTimeToSystemTime(&ticks, &later);
  return later;
}

// The real pointer over `control`, and the cursor message a move sends.
void PointerOnto(HWND main, HWND control) {
  RECT box;
  ::GetWindowRect(control, &box);
  ::SetCursorPos((box.left + box.right) / 2, (box.top + box.bottom) / 2);
  ::SendMessageA(main, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

// Each test leaves the recording voice as it found it.
class HeardSpeech : public ::testing::Test {
 protected:
  void TearDown() override { UseVoice(VoiceSetup::kRecording); }
};

}  // namespace

TEST_F(HeardSpeech, EachAnnouncementReachesTheVoiceWordForWord) {
  struct Row {
    const char* settings;
    const char* clock;
    const char* heard;
    bool alarm;
  };
  const Row rows[] = {
      {"", "12:34:00", "1 2 3 4", false},
      {"SayHourProg: 1\r\n", "12:00:00", "12 o clock", false},
      {kAlarm705, "07:05:00", "Alarm! 7 oh 5", true},
  };
  for (const Row& row : rows) {
    UseVoice(VoiceSetup::kRecording);
    RunProgram([&](HWND main) {
      TickAt(main, row.clock);
      EXPECT_TRUE(WaitToHearSpeech()) << row.heard;
      if (row.alarm) PressOk(WaitForWindow("It's time!"));
      EXPECT_TRUE(WaitUntilGone("It's time!"));
    }, row.settings);
    const std::vector<HeardCall> heard = HeardCalls();
    ASSERT_GE(heard.size(), 2u) << row.heard;
    EXPECT_EQ(heard[0].call, std::string("Speak ") + row.heard);
    EXPECT_EQ(heard[1].call, "WaitUntilDone -1") << "waited for with no time limit";
  }
}

TEST_F(HeardSpeech, SpokenAlarmRepeatsOnlyAfterEachPhraseIsDoneUntilDismissed) {
  constexpr unsigned long long kPhraseMs = 400;
  UseVoice(VoiceSetup::kRecording, kPhraseMs);
  unsigned long long dismissed = 0;
  RunProgram([&](HWND main) {
    TickAt(main, "07:05:00");
    const HWND box = WaitForWindow("It's time!");
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(WaitToHearSpeech(3));
    PressOk(box);
    ASSERT_TRUE(WaitUntilGone("It's time!"));
    dismissed = ::GetTickCount64();
    ::Sleep(kPhraseMs + 1000);
  }, kAlarm705);
  bool speaking = false;
  unsigned long long done = 0;
  for (const HeardCall& heard : HeardCalls()) {
    if (heard.call == "WaitUntilDone -1") {
      speaking = false;
      done = heard.ms;
      continue;
    }
    EXPECT_EQ(heard.call, "Speak Alarm! 7 oh 5");
    EXPECT_FALSE(speaking) << "a repetition began during the phrase before it";
    if (done != 0) {
      EXPECT_GE(heard.ms, done + 150) << "no pause after the phrase before";
    }
    EXPECT_LE(heard.ms, dismissed + 500) << "a repetition began after the box was dismissed";
    speaking = true;
  }
  EXPECT_FALSE(speaking) << "the last phrase was not waited for";
}

TEST_F(HeardSpeech, TwoAlarmsAtOnceAreBothHeardAndBothEnd) {
  UseVoice(VoiceSetup::kRecording, 300);
  RunProgram([](HWND main) {
    TickAt(main, "07:05:00");
    ASSERT_TRUE(WaitForWindows("It's time!", 1));
    TickAt(main, "07:06:00");  // handled while the first box waits
    ASSERT_TRUE(WaitForWindows("It's time!", 2));
    EXPECT_TRUE(WaitToHear("Alarm! 7 oh 5"));
    EXPECT_TRUE(WaitToHear("Alarm! 7 oh 6"));
    EXPECT_TRUE(Answers(main));
    for (const HWND box : WindowsCaptioned("It's time!")) PressOk(box);
    ASSERT_TRUE(WaitUntilGone("It's time!"));
    ::Sleep(500);  // a phrase begun as the boxes closed may still start
    const size_t spoken = SpokenTexts().size();
    ::Sleep(1000);
    EXPECT_EQ(SpokenTexts().size(), spoken) << "an alarm went on after both boxes";
  }, "SayAlarm1: 1\r\nAlarm1time: 7:05\r\nSayAlarm2: 1\r\nAlarm2time: 7:06\r\n");
}

TEST_F(HeardSpeech, WithoutAUsableVoiceTheAlarmBeepsAndItsBoxStillComes) {
  for (const VoiceSetup setup : {VoiceSetup::kNoProgId, VoiceSetup::kMissingDll}) {
    UseVoice(setup);
    RunProgram([](HWND main) {
      TickAt(main, "07:05:00");
      const HWND box = WaitForWindow("It's time!");
      ASSERT_NE(box, nullptr);
      EXPECT_TRUE(WaitForCall("Beep 1000 300"));
      EXPECT_TRUE(Answers(main)) << "the window hangs";
      PressOk(box);
      EXPECT_TRUE(WaitUntilGone("It's time!"));
    }, kAlarm705);
    EXPECT_TRUE(WaitForCall("CreateVoice failed", 0));
    EXPECT_TRUE(HeardCalls().empty());
  }
}

TEST_F(HeardSpeech, ProgramClosedMidPhraseEndsAtOnceAndCleanly) {
  UseVoice(VoiceSetup::kRecording, 8000);
  // The real program keeps the real clock: an alarm for this minute, with
  // time left to raise it before the minute is over.
  const SYSTEMTIME now = MinuteWithTimeLeft();
  WriteFile(SettingsPath(), "SayAlarm1: 1\r\nAlarm1time: " + std::to_string(now.wHour) + ":" +
                                std::to_string(now.wMinute) + "\r\n");
  ProgramProcess program("");
  EXPECT_TRUE(WaitToHearSpeech(1, 10000));
  PressOk(WaitForWindow("It's time!"));
  EXPECT_TRUE(WaitUntilGone("It's time!"));
  const unsigned long long closed = ::GetTickCount64();
  ::PostMessageA(WaitForWindow("Quorvel"), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(program.WaitForExit(5000), 0u);
  EXPECT_LT(::GetTickCount64() - closed, 2000u);
  const std::vector<HeardCall> heard = HeardCalls();
  ASSERT_EQ(heard.size(), 1u) << "not ended mid-phrase";
  EXPECT_EQ(heard[0].call.compare(0, 13, "Speak Alarm! "), 0) << heard[0].call;
}

TEST_F(HeardSpeech, SayTimeSpeaksTheCurrentMinuteAndEnds) {
  UseVoice(VoiceSetup::kRecording, 300);
  const SYSTEMTIME now = MinuteWithTimeLeft();
  ::DeleteFileA(SettingsPath().c_str());  // the default reading: 12-hour
  ProgramProcess program("--say-time");
  EXPECT_EQ(program.WaitForExit(10000), 0u);
  const std::vector<HeardCall> heard = HeardCalls();
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[0].call, "Speak " + AlarmWordsAt(now));
  EXPECT_EQ(heard[1].call, "WaitUntilDone -1") << "ended before the phrase was done";
}

// The pointer resting on a rule through the alarm's minute holds no alarm;
// leaving the window for the desktop ends the hover.
TEST_F(HeardSpeech, AnAlarmRingsUnderARestingPointerAndLeavingTheWindowEndsTheHover) {
  RunProgram([](HWND main) {
    TickAt(main, "07:04:50");
    ASSERT_TRUE(WaitForText(main, 1010, "7:04"));
    PointerOnto(main, Control(main, 1001));
    ASSERT_TRUE(::IsWindowVisible(Control(main, 1009)));
    TickAt(main, "07:05:00");
    const HWND box = WaitForWindow("It's time!");
    ASSERT_NE(box, nullptr) << "no alarm under the pointer";
    EXPECT_TRUE(WaitToHear("Alarm! 7 oh 5"));
    PressOk(box);
    ASSERT_TRUE(WaitUntilGone("It's time!"));

    PointerOnto(main, Control(main, 1001));
    RECT window;
    ::GetWindowRect(main, &window);
    ::SetCursorPos(window.right + 20, window.bottom + 20);
    TickAt(main, "07:06:00");
    EXPECT_TRUE(WaitForText(main, 1010, "7:06")) << "the time back once the pointer left";
    EXPECT_FALSE(::IsWindowVisible(Control(main, 1009))) << "the caption gone";
  }, kAlarm705);
}

// The real program held from before the alarm's minute until after it, as a
// machine asleep: once it runs again the alarm rings in the words of the time
// it is then.
TEST_F(HeardSpeech, AnAlarmWhoseMinuteWentByWhileTheProgramWasHeldRingsWhenItRuns) {
  const SYSTEMTIME now = MinuteWithTimeLeft();
  const SYSTEMTIME alarm = Later(now, 60);
  WriteFile(SettingsPath(), "SayAlarm1: 1\r\nAlarm1time: " + std::to_string(alarm.wHour) + ":" +
                                (alarm.wMinute < 10 ? "0" : "") + std::to_string(alarm.wMinute) +
                                "\r\n");
  ProgramProcess program("");
  ASSERT_NE(WaitForWindow("Quorvel"), nullptr);
  program.Suspend();
  const SYSTEMTIME resume_at = Later(alarm, 60);  // early in the minute after the alarm's
  SYSTEMTIME clock;
  for (::GetLocalTime(&clock); clock.wMinute != resume_at.wMinute || clock.wSecond < 2;
       ::GetLocalTime(&clock))
    ::Sleep(200);
  ASSERT_EQ(WaitForWindow("It's time!", 100), nullptr) << "the program was not held";
  EXPECT_TRUE(SpokenTexts().empty());
  program.Resume();
  const HWND box = WaitForWindow("It's time!");
  ASSERT_NE(box, nullptr) << "the alarm of the held minute never rang";
  EXPECT_TRUE(WaitToHear("Alarm! " + AlarmWordsAt(resume_at)));
  PressOk(box);
}
