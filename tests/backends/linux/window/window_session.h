// Runs the real Linux program in-process on Qt's offscreen platform, with the
// test machine's clock, sound and speech.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "announce/alarm_repeater.h"
#include "announce/speech.h"
#include "backends/linux/window/test_machine.h"
#include "backends/linux/main_window.h"
#include "platform/platform.h"
#include "window/clock_tick.h"
#include "rules/hover_display.h"
#include "settings/settings_file.h"
#include "window/main_window_proc.h"
#include "window/start_up.h"

class LinuxWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::StartWindowSystem(0, nullptr);
  }

  void SetUp() override {
    std::remove(SettingsPath().c_str());
    ResetClockTick();
    HoverControl = 0;
    SavedFocus = 0;
    test_machine::ClearCalls();
    test_machine::SetClock("10:00:00");
  }
  void TearDown() override { std::remove(SettingsPath().c_str()); }

 public:

  // The program as a user starts it; `session` runs once its window is up,
  // then the window is closed as the window manager closes it.
  static void Run(const std::function<void()>& session) {
    QTimer::singleShot(0, [session] {
      QWidget* window = linux_window::MainWindow();
      EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
      session();
      window->close();
    });
    EXPECT_EQ(RunQuorvel(0, nullptr), 0);
  }

  static void WriteSettingsFile(const std::string& bytes) {
    std::ofstream(SettingsPath(), std::ios::binary) << bytes;
  }
  static std::string SettingsFileOnDisk() {
    std::ifstream file(SettingsPath(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
  }
  static bool FileHasLine(const std::string& line) {
    return SettingsFileOnDisk().find(line + "\r\n") != std::string::npos;
  }

  template <typename Widget = QWidget>
  static Widget* ControlAs(int id) {
    return qobject_cast<Widget*>(linux_window::Control(id));
  }
  // The pointer moving onto the middle of a control, or onto `point` of the
  // window, as the window system reports it.
  static void PointAt(int id) {
    QWidget* control = linux_window::Control(id);
    PointAtWindow(control->mapTo(linux_window::MainWindow(), control->rect().center()));
  }
  static void PointAtWindow(const QPoint& point) {
    QTest::mouseMove(linux_window::MainWindow()->windowHandle(), point);
    QApplication::processEvents();
  }
  // Near the left edge: a check box takes clicks on its box and text only.
  static void ClickOn(int id) {
    QWidget* control = linux_window::Control(id);
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier,
                      QPoint(std::min(8, control->width() / 2), control->height() / 2));
  }
  static std::string TextOf(int id) {
    if (const auto* label = ControlAs<QLabel>(id)) return label->text().toStdString();
    if (const auto* box = ControlAs<QLineEdit>(id)) return box->text().toStdString();
    return "";
  }

  // The open message box with that caption, null when there is none.
  static QMessageBox* OpenBox(const QString& caption) {
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (auto* box = qobject_cast<QMessageBox*>(widget))
        if (box->isVisible() && box->windowTitle() == caption) return box;
    return nullptr;
  }
  static void Dismiss(QMessageBox* box) {
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
  }

  // The program runs; `user` runs once, from the loop of the first alarm
  // box, and the program then goes on until the alarm's sound stops and no
  // alarm box is left open.
  static void WhenTheAlarmBoxOpens(const std::function<void(QMessageBox*)>& user) {
    Run([&] {
      bool answered = false;
      QTimer poll;
      QObject::connect(&poll, &QTimer::timeout, [&] {
        QMessageBox* box = OpenBox("It's time!");
        if (box == nullptr || answered) return;
        answered = true;
        poll.stop();
        user(box);
      });
      poll.start(20);
      EXPECT_TRUE(QTest::qWaitFor(
          [&] { return answered && test_machine::Called("StopSound"); }, 8000));
      EXPECT_EQ(OpenBox("It's time!"), nullptr);
    });
  }
};
