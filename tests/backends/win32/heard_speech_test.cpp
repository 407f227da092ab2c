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
  const int hour = (now.wHour + 11) % 12 + 1;
  const std::string minute = now.wMinute < 10 ? "oh " + std::to_string(now.wMinute)
                                              : std::to_string(now.wMinute);
  const std::vector<HeardCall> heard = HeardCalls();
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[0].call, "Speak " + std::to_string(hour) + " " + minute);
  EXPECT_EQ(heard[1].call, "WaitUntilDone -1") << "ended before the phrase was done";
}
