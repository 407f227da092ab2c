// The one-second timer with a controlled clock, the hover display, and the
// alarm box that leaves the window and its clock running.
#include <QCheckBox>

#include "backends/linux/window/window_session.h"
#include "platform/control_ids.h"

namespace {

bool ShowsHighlight(int id) {
  const QWidget* box = linux_window::Control(id);
  return box->autoFillBackground() &&
         box->palette().color(box->backgroundRole()) == QColor(255, 170, 170);
}

TEST_F(LinuxWindow, TheTimerAnnouncesAMatchingMinuteAndShowsTheTime) {
  test_machine::SetClock("12:34:10");
  Run([] {
    ASSERT_TRUE(QTest::qWaitFor([] { return TextOf(ClockDisplay) == "12:34"; }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([] { return test_machine::Called("Speak 1 2 3 4"); }, 2000));
    test_machine::SetClock("13:05:00");
    EXPECT_TRUE(QTest::qWaitFor([] { return TextOf(ClockDisplay) == "1:05"; }, 3000));
  });
}

TEST_F(LinuxWindow, RestingOnARuleShowsItsNextTimeUntilThePointerMovesOn) {
  test_machine::SetClock("12:40:00");
  Run([] {
    ASSERT_TRUE(QTest::qWaitFor([] { return TextOf(ClockDisplay) == "12:40"; }, 3000));
    PointAtWindow(QPoint(3, 3));  // the pointer comes in over the bare window
    // Away to another control, to a label and to the bare window.
    const int elsewhere[] = {1022, ClockDisplay, 0};
    for (int away : elsewhere) {
      PointAt(1001);
      EXPECT_TRUE(ControlAs<QLabel>(NextTimeCaption)->isVisible()) << away;
      EXPECT_EQ(TextOf(ClockDisplay), "1:23") << away;
      EXPECT_TRUE(ShowsHighlight(1001)) << away;
      PointAt(1014);
      EXPECT_EQ(TextOf(ClockDisplay), "4:20") << away;
      EXPECT_FALSE(ShowsHighlight(1001)) << away;
      if (away == 0) {
        PointAtWindow(QPoint(3, 3));
      } else {
        PointAt(away);
      }
      EXPECT_FALSE(ControlAs<QLabel>(NextTimeCaption)->isVisible()) << away;
      EXPECT_FALSE(ShowsHighlight(1014)) << away;
      EXPECT_TRUE(QTest::qWaitFor([] { return TextOf(ClockDisplay) == "12:40"; }, 3000)) << away;
    }
  });
}

// What the user checks while the alarm box is open, then the dismissal.
void AnswerAlarm(QMessageBox* box) {
  EXPECT_EQ(box->text(), "Your alarm is going off! Are you ready?");
  EXPECT_EQ(box->icon(), QMessageBox::Critical);
  EXPECT_TRUE(box->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(test_machine::Called("PlaySoundLoop /sounds/bell.wav"));
  EXPECT_TRUE(linux_window::MainWindow()->isEnabled());
  test_machine::SetClock("12:36:00");
  EXPECT_TRUE(QTest::qWaitFor([] { return LinuxWindow::TextOf(ClockDisplay) == "12:36"; }, 3000))
      << "a later minute is processed while the box is open";
  LinuxWindow::ClickOn(1004);  // the window stays usable
  EXPECT_TRUE(LinuxWindow::FileHasLine("SaySelfSimilar: 0"));
  EXPECT_FALSE(test_machine::Called("StopSound"));
  LinuxWindow::Dismiss(box);
}

// The box waits in a loop of its own inside the tick, so the user's side of
// the test runs from a timer in that loop.
TEST_F(LinuxWindow, TheAlarmBoxWaitsWhileTheClockGoesOnAndStopsTheSoundWhenDismissed) {
  WriteSettingsFile(
      "SayAlarm1: 1\r\nSpeakAlarm1: 0\r\nSFXAlarm1: /sounds/bell.wav\r\nAlarm1time: 12:35\r\n");
  test_machine::SetClock("12:35:05");
  WhenTheAlarmBoxOpens(AnswerAlarm);
}

}  // namespace
