// Real clicks and keys on the real window, and the file on disk after them.
#include <QCheckBox>
#include <QRadioButton>
#include <QTimeEdit>

#include <thread>

#include "backends/linux/audio_loader.h"
#include "backends/linux/window/window_session.h"
#include "platform/control_ids.h"

namespace {

int Checked(int id) { return LinuxWindow::ControlAs<QAbstractButton>(id)->isChecked() ? 1 : 0; }

TEST_F(LinuxWindow, EachClickChangesItsSettingAndSavesAtOnce) {
  Run([] {
    const struct {
      int control;
      const char* line;
    } clicks[] = {
        {1001, "SayAscending: 0"},     {1015, "SayAlarm1: 1"},
        {1021, "SpeakSayAscending: 0"}, {1019, "SpeakSayAscending: 1"},
        {1019, "SpeakSayAscending: 1"},  // already chosen: saved all the same
        {1017, "ConfirmAlarm: 0"},      {1007, "24hour: 1"},  // never both clocks off
    };
    for (const auto& click : clicks) {
      std::remove(SettingsPath().c_str());
      ClickOn(click.control);
      EXPECT_TRUE(FileHasLine(click.line)) << click.control << "\n" << SettingsFileOnDisk();
    }
    EXPECT_EQ(Checked(1007), 0);
    EXPECT_EQ(Checked(1008), 1);
  });
}

TEST_F(LinuxWindow, ARowsRadiosExcludeEachOtherOnly) {
  Run([] {
    ClickOn(1025);  // SFX: of row 2
    EXPECT_EQ(Checked(1025), 1);
    EXPECT_EQ(Checked(1024), 0);
    for (int id : {1019, 1028, 1052, 1056}) EXPECT_EQ(Checked(id), 1) << id;
    EXPECT_TRUE(FileHasLine("SpeakSayDescending: 0"));
    EXPECT_TRUE(FileHasLine("SpeakSayAscending: 1"));
  });
}

TEST_F(LinuxWindow, PickerChangesAndFocusSaveTheAlarmTime) {
  Run([] {
    auto* picker = ControlAs<QTimeEdit>(AlarmPicker1);
    picker->setTime(QTime(19, 30));  // as the spin arrows would
    EXPECT_TRUE(FileHasLine("Alarm1time: 19:30"));
    std::remove(SettingsPath().c_str());
    linux_window::MainWindow()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(linux_window::MainWindow()));
    picker->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([] { return FileHasLine("Alarm1time: 19:30"); }, 2000))
        << "focus moving into a picker saves";
  });
}

TEST_F(LinuxWindow, EscAndEnterChangeNothing) {
  Run([] {
    QWidget* window = linux_window::MainWindow();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    for (int id : {1001, 1022}) {
      linux_window::Control(id)->setFocus();
      for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter})
        QTest::keyClick(linux_window::Control(id), key);
    }
    QApplication::processEvents();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(Checked(1001), 1);
    EXPECT_EQ(SettingsFileOnDisk(), "");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "Enter opened no dialog";
  });
}

TEST_F(LinuxWindow, AHandEditedFileIsShownAtStartUp) {
  const std::string file =
      "sayascending: 0\r\nSay420: 1\r\n24HOUR: 1\r\nSFXSay420: /home/ana/Klänge/horn.wav\r\n"
      "SpeakSay420: 0\r\nAlarm2time: 19:05\r\nAutomaticStartup: 1\r\n";
  WriteSettingsFile(file);
  Run([] {
    EXPECT_EQ(Checked(1001), 0);
    EXPECT_EQ(Checked(1014), 1);
    EXPECT_EQ(Checked(1007), 1);
    EXPECT_EQ(Checked(1008), 1);
    EXPECT_EQ(Checked(1049), 1);
    EXPECT_EQ(Checked(1048), 0);
    EXPECT_EQ(Checked(1060), 1);
    EXPECT_EQ(TextOf(1047), "horn") << "a UTF-8 path shows its name";
    EXPECT_EQ(ControlAs<QTimeEdit>(AlarmPicker2)->time(), QTime(19, 5));
  });
  EXPECT_EQ(SettingsFileOnDisk(), file) << "starting saves nothing";
}

}  // namespace

// Told from a speech thread, the notice that nothing can sound comes as a box
// of its own that leaves the window working.
TEST_F(LinuxWindow, ASilentProgramSaysSoInABoxThatBlocksNothing) {
  Run([] {
    std::thread([] { linux_audio::TellNoSound("quorvel_audio.so is missing"); }).join();
    QMessageBox* box = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (box = OpenBox("Quorvel")) != nullptr; }, 2000));
    EXPECT_NE(box->text().toStdString().find(
                  "Quorvel cannot play sounds or speak: quorvel_audio.so is missing."),
              std::string::npos);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    Dismiss(box);
  });
}
