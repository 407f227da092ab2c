// Browse with the system's own open-file dialog, worked from outside.
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <string>

#include "backends/win32/program_session.h"
#include "backends/win32/recorder.h"

using namespace wine_test;

namespace {

constexpr char kDialogTitle[] = "Please select a sound effect";

// Types `path` into the dialog's file name box and presses Open.
void ChooseInDialog(HWND dialog, const std::string& path) {
  ::SetDlgItemTextA(dialog, cmb13, path.c_str());
  ::SetDlgItemTextA(dialog, edt1, path.c_str());  // older dialog layouts
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

}  // namespace

TEST(Browse, ChosenWavFileIsPreviewedShownAndSaved) {
  const std::string sound = ProgramFolder() + "chimes.wav";
  WriteFile(sound, "RIFF");
  RunProgram([&](HWND main) {
    ClickLater(main, 1022);
    const HWND dialog = WaitForWindow(kDialogTitle);
    ASSERT_NE(dialog, nullptr);
    RECT owner, placed;
    ::GetWindowRect(main, &owner);
    ::GetWindowRect(dialog, &placed);
    EXPECT_EQ(placed.left, owner.left + 30);
    EXPECT_EQ(placed.top, owner.top + 30);

    ChooseInDialog(dialog, sound);
    EXPECT_TRUE(WaitUntilGone(kDialogTitle));
    EXPECT_TRUE(WaitForCall("PlaySound " + sound + "|0x0"));
    EXPECT_TRUE(WaitForText(main, 1018, "chimes")) << Text(main, 1018);
    EXPECT_EQ(Check(main, 1021), BST_CHECKED);
    EXPECT_EQ(Check(main, 1019), BST_UNCHECKED);
    const auto saved = SavedSettings();
    EXPECT_EQ(saved.at("SFXSayAscending"), sound);
    EXPECT_EQ(saved.at("SpeakSayAscending"), "0");
  });
  ::DeleteFileA(sound.c_str());
}

TEST(Browse, FileThatIsNotWavIsRefusedAndTheRowStaysAsItWas) {
  const std::string song = ProgramFolder() + "song.mp3";
  WriteFile(song, "ID3");
  RunProgram([&](HWND main) {
    ClickLater(main, 1026);
    const HWND dialog = WaitForWindow(kDialogTitle);
    ASSERT_NE(dialog, nullptr);
    ChooseInDialog(dialog, song);

    const HWND refusal = WaitForWindow("Error");
    ASSERT_NE(refusal, nullptr);
    EXPECT_EQ(BoxText(refusal),
              "Sorry, I'm a bit stupid and only know how to play old-fashioned WAV files.");
    EXPECT_EQ(::GetWindow(refusal, GW_OWNER), nullptr) << "the box has no owner";
    PressOk(refusal);
    EXPECT_TRUE(WaitUntilGone("Error"));
    Settle();

    EXPECT_EQ(Text(main, 1023), "");
    EXPECT_EQ(Check(main, 1024), BST_CHECKED);
    EXPECT_FALSE(FileExists(SettingsPath())) << "a refused choice saves nothing";
    for (const std::string& call : Calls()) EXPECT_EQ(call.find("PlaySound"), std::string::npos);
  });
  ::DeleteFileA(song.c_str());
}
