// A settings file written by hand, and the window it starts with.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "backends/win32/program_session.h"

using namespace wine_test;

namespace {

std::string PickerTime(HWND main, int id) {
  SYSTEMTIME time = {};
  ::SendMessageA(Control(main, id), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
  return std::to_string(time.wHour) + ":" + std::to_string(time.wMinute);
}

}  // namespace

TEST(StartUp, HandWrittenSettingsFileShowsInTheControls) {
  const std::string settings_file =
            "SayAscending: 0\r\n"
            "SayHourProg: 1\r\n"
            "SpeakSayDescending: 0\r\n"
            "SFXSayDescending: C:\\Sounds\\Door Chime.WAV\r\n"
            "SpeakSayHourProg: -1\r\n"
            "12hour: 1\r\n"
            "24hour: 1\r\n"
            "ConfirmAlarm: 0\r\n"
            "AutomaticStartup: 1\r\n"
            "Alarm1time: 19:30\r\n"
            "Alarm2time: 6:5\r\n";
  RunProgram([](HWND main) {
    struct Expected {
      int control;
      int check;
    };
    const Expected checks[] = {
        {1001, BST_UNCHECKED}, {1002, BST_CHECKED}, {1013, BST_CHECKED},
        {1024, BST_UNCHECKED}, {1025, BST_CHECKED},  // row 2 plays its sound
        {1044, BST_CHECKED},   {1045, BST_UNCHECKED}, // any Speak value but 0 speaks
        {1007, BST_CHECKED},   {1008, BST_CHECKED},   {1017, BST_UNCHECKED},
        {1060, BST_CHECKED},
    };
    for (const Expected& e : checks) EXPECT_EQ(Check(main, e.control), e.check) << e.control;
    EXPECT_EQ(Text(main, 1023), "Door Chime");
    EXPECT_EQ(PickerTime(main, 1012), "19:30");
    EXPECT_EQ(PickerTime(main, 1059), "6:5");
    EXPECT_FALSE(::IsWindowEnabled(Control(main, 1060)));
    EXPECT_FALSE(::IsWindowVisible(Control(main, 1009)));
  }, settings_file);
}
