// Clicks, picker changes and keys on the real window, and what reaches the
// settings file.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "backends/win32/program_session.h"

using namespace wine_test;

namespace {

// Sets the picker as the user's spin clicks would and tells the window.
void ChangePicker(HWND main, int id, WORD hour, WORD minute) {
  const HWND picker = Control(main, id);
  SYSTEMTIME time = {};
  time.wYear = 2010;
  time.wMonth = 9;
  time.wDay = 29;
  time.wHour = hour;
  time.wMinute = minute;
  ::SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
  NMDATETIMECHANGE change = {};
  change.nmhdr = {picker, static_cast<UINT_PTR>(id), static_cast<UINT>(DTN_DATETIMECHANGE)};
  change.st = time;
  ::SendMessageA(main, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&change));
}

}  // namespace

TEST(WindowActions, EachKindOfControlSavesItsSettingAtOnce) {
  struct Step {
    int control;
    const char* key;
    const char* saved;
  };
  const Step steps[] = {
      {1001, "SayAscending", "0"},       // a ticked rule box unticked
      {1005, "SayHourMinuteMatch", "1"}, // an unticked one ticked
      {1021, "SpeakSayAscending", "0"},  // SFX chosen with no sound file yet
      {1019, "SpeakSayAscending", "1"},  // back to Speak
      {1019, "SpeakSayAscending", "1"},  // Speak again: still saved
      {1017, "ConfirmAlarm", "0"},
      {1008, "24hour", "1"},
  };
  RunProgram([&](HWND main) {
    EXPECT_FALSE(FileExists(SettingsPath())) << "nothing is saved before a change";
    for (const Step& step : steps) {
      SCOPED_TRACE(std::to_string(step.control));
      ::DeleteFileA(SettingsPath().c_str());
      Click(main, step.control);
      const auto saved = SavedSettings();
      EXPECT_EQ(saved.size(), 36u);
      EXPECT_EQ(saved.count(step.key) ? saved.at(step.key) : "(missing)", step.saved);
    }
    EXPECT_EQ(Check(main, 1019), BST_CHECKED);
    EXPECT_EQ(Check(main, 1021), BST_UNCHECKED);
    EXPECT_EQ(Check(main, 1025), BST_UNCHECKED) << "another row's radios are left alone";
  });
}

TEST(WindowActions, PickerTimesAreSavedAsTheUserSetThemWhateverTheDisplayFormat) {
  struct Case {
    int picker;
    const char* format;  // what the user's locale might show
    WORD hour, minute;
    const char* key;
    const char* saved;
  };
  const Case cases[] = {
      {1012, "hh':'mm' 'tt", 0, 0, "Alarm1time", "0:00"},
      {1012, "hh':'mm' 'tt", 12, 30, "Alarm1time", "12:30"},
      {1059, "hh':'mm' 'tt", 23, 59, "Alarm2time", "23:59"},
      // A locale without an AM/PM designator: the morning stays the morning.
      {1012, "HH':'mm", 7, 30, "Alarm1time", "7:30"},
      {1059, "hh':'mm' 'tt'.'", 7, 5, "Alarm2time", "7:05"},
  };
  RunProgram([&](HWND main) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.format) + " " + c.saved);
      ::SendMessageA(Control(main, c.picker), DTM_SETFORMATA, 0,
                     reinterpret_cast<LPARAM>(c.format));
      ChangePicker(main, c.picker, c.hour, c.minute);
      EXPECT_EQ(SavedSettings().at(c.key), c.saved);
    }
  });
}

TEST(WindowActions, EscAndEnterChangeNothing) {
  RunProgram([](HWND main) {
    const HWND box = Control(main, 1001);
    ::SetForegroundWindow(main);
    ::SendMessageA(main, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
    for (const WPARAM key : {VK_ESCAPE, VK_RETURN}) {
      ::PostMessageA(box, WM_KEYDOWN, key, 0);
      ::PostMessageA(box, WM_KEYUP, key, 0);
    }
    Settle();
    EXPECT_TRUE(::IsWindowVisible(main));
    EXPECT_EQ(Check(main, 1001), BST_CHECKED);
    EXPECT_FALSE(FileExists(SettingsPath()));
  });
}
