#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "announce/sound_task.h"
#include "platform/control_ids.h"
#include "support/test_files.h"
#include "window_test_support.h"

namespace {

class WindowEvents : public ::testing::Test {
 protected:
  void SetUp() override { StartWithFreshWindow(); }
  void TearDown() override { fake::JoinThreads(); }
};

bool FileHasLine(const std::string& line) {
  return SettingsFileOnDisk().find(line + "\r\n") != std::string::npos;
}

TEST_F(WindowEvents, InitStartsTheOneSecondClockTimer) {
  OnWindowStart();
  EXPECT_EQ(fake::Calls(), std::vector<std::string>{"StartTimer 1000 1000"});
}

TEST_F(WindowEvents, RowControlsChangeTheirRuleAndSaveAtOnce) {
  struct Case {
    int control;
    int check_after_click;  // what the control shows once clicked
    const char* file_line;
  };
  const Case cases[] = {
      {1001, 0, "SayAscending: 0"},       {1013, 1, "SayHourProg: 1"},
      {1016, 1, "SayAlarm2: 1"},          {1021, 1, "SpeakSayAscending: 0"},
      {1057, 1, "SpeakAlarm2: 0"},        {1048, 1, "SpeakSay420: 1"},
      {1017, 0, "ConfirmAlarm: 0"},       {1019, 1, "SpeakSayAscending: 1"},  // already chosen
  };
  for (const Case& c : cases) {
    StartWithFreshWindow();
    fake::Control(c.control).check = c.check_after_click;
    Click(c.control);
    EXPECT_TRUE(FileHasLine(c.file_line)) << c.control << "\n" << SettingsFileOnDisk();
  }
}

TEST_F(WindowEvents, NotificationsAndControlsWithoutActionsSaveNothing) {
  const int ignored[] = {
      1018,  // read-only sound box
      1010,  // clock label
      1060,  // disabled box
      1,     // Enter
      2,     // Esc
  };
  for (int id : ignored) OnClick(id);
  OnPickerEvent(1022);  // a button's hot-tracking
  EXPECT_EQ(SettingsFileOnDisk(), "");
  EXPECT_EQ(fake::CountCalls("ChooseOpenFile"), 0);
}

TEST_F(WindowEvents, TheClockFormBoxesNeverLeaveBothOff) {
  struct Case {
    int clicked;
    int hour12_before, hour24_before;
    int check_after_click;
    int hour12_after, hour24_after;
    int other_box_check_after;
  };
  const Case cases[] = {
      {Use12HourBox, 1, 0, 0, 0, 1, 1},  // unchecking 12 turns 24 on
      {Use24HourBox, 0, 1, 0, 1, 0, 1},  // and the mirror image
      {Use12HourBox, 0, 1, 1, 1, 1, 1},  // checking one keeps the other
      {Use24HourBox, 1, 1, 0, 1, 0, 1},  // unchecking one of two
  };
  for (const Case& c : cases) {
    StartWithFreshWindow();
    Settings.Hour12 = c.hour12_before;
    Settings.Hour24 = c.hour24_before;
    const int other = c.clicked == Use12HourBox ? Use24HourBox : Use12HourBox;
    fake::Control(other).check = c.clicked == Use12HourBox ? c.hour24_before : c.hour12_before;
    fake::Control(c.clicked).check = c.check_after_click;
    Click(c.clicked);
    EXPECT_EQ(Settings.Hour12, c.hour12_after) << c.clicked;
    EXPECT_EQ(Settings.Hour24, c.hour24_after) << c.clicked;
    EXPECT_EQ(fake::Control(other).check, c.other_box_check_after) << c.clicked;
    EXPECT_TRUE(FileHasLine("12hour: " + std::to_string(c.hour12_after)));
    EXPECT_TRUE(FileHasLine("24hour: " + std::to_string(c.hour24_after)));
  }
}

TEST_F(WindowEvents, OnlyTheTwelveHourBoxMakesTheCurrentMinuteCountAgain) {
  LastMinute = 12 * 60 + 34;
  fake::Control(Use24HourBox).check = 1;
  Click(Use24HourBox);
  EXPECT_EQ(LastMinute, 12 * 60 + 34);
  fake::Control(Use12HourBox).check = 1;
  Click(Use12HourBox);
  EXPECT_EQ(LastMinute, std::nullopt);
}

TEST_F(WindowEvents, PickerTimesAreStoredAsTwentyFourHourText) {
  struct Case {
    int picker;
    int hour, minute;
    const char* stored;
    const char* file_line;
  };
  const Case cases[] = {
      {AlarmPicker1, 0, 0, "0:00", "Alarm1time: 0:00"},
      {AlarmPicker1, 0, 5, "0:05", "Alarm1time: 0:05"},
      {AlarmPicker1, 7, 30, "7:30", "Alarm1time: 7:30"},
      {AlarmPicker2, 12, 30, "12:30", "Alarm2time: 12:30"},
      {AlarmPicker2, 23, 59, "23:59", "Alarm2time: 23:59"},
      {AlarmPicker2, 19, 30, "19:30", "Alarm2time: 19:30"},
  };
  for (const Case& c : cases) {
    StartWithFreshWindow();
    platform::SetPickerTime(c.picker, c.hour, c.minute);
    OnPickerEvent(c.picker);
    EXPECT_EQ(c.picker == AlarmPicker1 ? Settings.Alarm1time : Settings.Alarm2time, c.stored);
    EXPECT_TRUE(FileHasLine(c.file_line)) << c.stored;
  }
}

TEST_F(WindowEvents, APickerNotificationSavesEvenWhenTheTimeIsUnchanged) {
  platform::SetPickerTime(AlarmPicker1, 7, 0);
  OnPickerEvent(AlarmPicker1);  // a focus change, say
  EXPECT_TRUE(FileHasLine("Alarm1time: 7:00"));
}

TEST_F(WindowEvents, FocusReturnsToTheControlThatHadIt) {
  platform::FocusControl(1008);
  OnActivation(false);
  platform::FocusControl(0);  // another program takes the focus
  fake::ClearCalls();
  OnActivation(true);
  EXPECT_EQ(fake::Calls(), std::vector<std::string>{"FocusControl 1008"});
  EXPECT_EQ(SavedFocus, 0);
  OnActivation(true);  // activated again: nothing saved to restore
  EXPECT_EQ(fake::CountCalls("FocusControl"), 1);
}

TEST_F(WindowEvents, TimerAndCursorReachTheClock) {
  fake::SetClock("13:45:10");
  OnTimer(1000);
  EXPECT_EQ(fake::Control(ClockDisplay).text, "1:45");
  OnPointerOver(1014);
  EXPECT_EQ(fake::Control(ClockDisplay).text, "4:20");
  EXPECT_TRUE(fake::Control(NextTimeCaption).visible);
}

// --- Browse -----------------------------------------------------------------

class Browse : public WindowEvents {
 protected:
  std::string MakeFile(const std::string& name) {
    const std::string path = fake::ProgramFolderPath() + name;
    test_files::Write(path, "RIFF");
    return path;
  }
};

TEST_F(Browse, AsksWithTheFixedTitleFolderAndFilter) {
  Click(1022);
  EXPECT_EQ(fake::Calls(), std::vector<std::string>{
                               "ChooseOpenFile Please select a sound effect|/fake/sounds/|"
                               "WAV files (*.wav)|*.wav|wav"});
}

TEST_F(Browse, AChosenWavIsPreviewedShownSelectedAndSaved) {
  struct Case {
    const char* file;
    const char* shown;
  };
  const Case cases[] = {
      {"chimes.wav", "chimes"},
      {"my.wav.backup", "my.backup"},
      {"Alarm.Wav", "Alarm.Wav"},
      {"Bell.WAV", "Bell"},
  };
  for (const Case& c : cases) {
    StartWithFreshWindow();
    const std::string path = MakeFile(c.file);
    fake::QueueFileChoice("  " + path + " ");
    Click(1054);  // the first alarm's row
    fake::JoinThreads();
    EXPECT_EQ(fake::CountCalls("PlaySoundSync " + path), 1) << c.file;
    EXPECT_EQ(Settings.SFX[SayAlarm1], path);
    EXPECT_EQ(Settings.Speak[SayAlarm1], 0);
    EXPECT_EQ(fake::Control(1053).check, 1);
    EXPECT_EQ(fake::Control(1052).check, 0);
    EXPECT_EQ(fake::Control(1051).text, c.shown);
    EXPECT_TRUE(FileHasLine("SFXAlarm1: " + path));
    EXPECT_TRUE(FileHasLine("SpeakAlarm1: 0"));
  }
}

TEST_F(Browse, ALongPathIsPreviewedByItsFirst255Characters) {
  const std::string path = MakeFile(std::string(240, 'a') + ".wav");
  fake::QueueFileChoice(path);
  Click(1022);
  ASSERT_GT(path.size(), 255u);
  fake::JoinThreads();
  EXPECT_EQ(fake::CountCalls("PlaySoundSync " + path.substr(0, 255)), 1);
  EXPECT_EQ(Settings.SFX[SayAscending], path);  // the setting keeps it whole
}

// The preview plays on its own thread: the choice is shown and saved at once.
TEST_F(Browse, TheChoiceIsKeptWhileItsPreviewStillPlays) {
  std::atomic<bool> ended{false};
  fake::OnCall([&](const std::string& call) {
    for (int ms = 0; call.rfind("PlaySoundSync", 0) == 0 && !ended && ms < 2000; ++ms)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  });
  const std::string path = MakeFile("long.wav");
  fake::QueueFileChoice(path);
  Click(1022);
  EXPECT_TRUE(FileHasLine("SFXSayAscending: " + path));
  EXPECT_EQ(SoundBusyCount.load(), 1);
  ended = true;
  fake::JoinThreads();
  EXPECT_EQ(SoundBusyCount.load(), 0);
}

TEST_F(Browse, NonWavFilesAndControlBytesAreRefusedWithAMessageAndChangeNothing) {
  // A line break or Ctrl-Z kept in the settings file would split or end it.
  const std::string names[] = {"song.mp3", "bell\r.wav", "two\nlines.wav", "end\x1a.wav",
                               "tab\t.wav", "\x01.wav"};
  for (const std::string& name : names) {
    StartWithFreshWindow();
    fake::Control(1018).text = "old";
    fake::QueueFileChoice(MakeFile(name));
    Click(1022);
    EXPECT_EQ(fake::CountCalls("ShowStopBox Error|Sorry, I'm a bit stupid and only know how to "
                               "play old-fashioned WAV files."),
              1)
        << name;
    EXPECT_EQ(fake::CountCalls("PlaySoundSync"), 0) << name;
    EXPECT_EQ(fake::Control(1018).text, "old");
    EXPECT_EQ(Settings.SFX[SayAscending], "");
    EXPECT_EQ(SettingsFileOnDisk(), "");
  }
}

TEST_F(Browse, CancelOrAMissingFileChangesNothingSilently) {
  const std::string choices[] = {"", fake::ProgramFolderPath() + "gone.wav",
                                 fake::ProgramFolderPath(), "   "};
  for (const std::string& choice : choices) {
    fake::QueueFileChoice(choice);
    Click(1026);
  }
  EXPECT_EQ(fake::CountCalls("ShowStopBox"), 0);
  EXPECT_EQ(fake::CountCalls("PlaySoundSync"), 0);
  EXPECT_EQ(SettingsFileOnDisk(), "");
}

}  // namespace
