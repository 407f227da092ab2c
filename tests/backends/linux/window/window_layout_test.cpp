// The real window against the control table: kinds, texts, rectangles, the
// window's frame, the colours and the tab order.
#include <QCheckBox>
#include <QFontMetrics>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimeEdit>

#include <vector>

#include "backends/linux/window/window_session.h"
#include "platform/control_ids.h"
#include "backends/linux/dialog_units.h"
#include "window/control_table.h"

namespace {

bool HasKindsWidget(const ControlSpec& spec) {
  QWidget* w = linux_window::Control(spec.id);
  switch (spec.kind) {
    case ControlKind::RuleCheckBox:
    case ControlKind::PlainCheckBox:
      return qobject_cast<QCheckBox*>(w) && w->isEnabled();
    case ControlKind::DisabledCheckBox:
      return qobject_cast<QCheckBox*>(w) && !w->isEnabled();
    case ControlKind::SpeakRadio:
    case ControlKind::SfxRadio:
      return qobject_cast<QRadioButton*>(w) != nullptr;
    case ControlKind::SoundBox:
      return qobject_cast<QLineEdit*>(w) && qobject_cast<QLineEdit*>(w)->isReadOnly();
    case ControlKind::BrowseButton:
      return qobject_cast<QPushButton*>(w) != nullptr;
    case ControlKind::AlarmPicker:
      return qobject_cast<QTimeEdit*>(w) != nullptr;
    case ControlKind::CaptionLabel:
    case ControlKind::ClockLabel:
      return qobject_cast<QLabel*>(w) != nullptr;
  }
  return false;
}

TEST_F(LinuxWindow, BuildsEveryControlOfTheTableWhereTheTableSays) {
  Run([] {
    QWidget* window = linux_window::MainWindow();
    const linux_window::BaseUnits units = linux_window::BaseUnitsOf(window->font());
    // An 8-point face gives base units near Windows' 6 x 13.
    EXPECT_GE(units.x, 5);
    EXPECT_LE(units.x, 9);
    EXPECT_GE(units.y, 10);
    EXPECT_LE(units.y, 18);
    for (const ControlSpec& spec : kControls) {
      ASSERT_TRUE(HasKindsWidget(spec)) << spec.id;
      QWidget* control = linux_window::Control(spec.id);
      EXPECT_EQ(control->geometry(),
                linux_window::PixelsOf(units, spec.x, spec.y, spec.width, spec.height))
          << spec.id;
      EXPECT_TRUE(window->rect().contains(control->geometry())) << spec.id;
      const auto* button = qobject_cast<QAbstractButton*>(control);
      if (button != nullptr) {
        EXPECT_EQ(button->text().toStdString(), spec.text) << spec.id;
      }
    }
    EXPECT_EQ(window->windowTitle(), "Quorvel");
    EXPECT_EQ(window->size(), linux_window::PixelsOf(units, 0, 0, 349, 201).size());
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "not resizable";
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    const QPoint off_centre = window->frameGeometry().center() -
                              window->screen()->availableGeometry().center();
    EXPECT_LE(std::abs(off_centre.x()), 2);  // halves round
    EXPECT_LE(std::abs(off_centre.y()), 2);
    // Every size of the built-in icon loads (a missing file still gives a
    // non-null icon on some Qt versions).
    EXPECT_EQ(window->windowIcon().availableSizes(),
              QList<QSize>({{16, 16}, {32, 32}, {48, 48}, {256, 256}}));
  });
}

TEST_F(LinuxWindow, ShowsTheClockAndCaptionInTheirColoursAndThePickersAsTwelveHourTimes) {
  Run([] {
    const auto* clock = ControlAs<QLabel>(ClockDisplay);
    EXPECT_EQ(clock->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    EXPECT_EQ(clock->palette().color(QPalette::Window), QColor(255, 255, 255));
    EXPECT_TRUE(clock->autoFillBackground());
    EXPECT_EQ(clock->alignment(), Qt::AlignCenter);
    EXPECT_EQ(clock->frameShape(), QFrame::Box);
    EXPECT_TRUE(clock->font().bold());
    EXPECT_EQ(clock->font().pointSize(), 48);
    // Fixed pitch as drawn: fontconfig does not mark every monospaced face
    // (Noto Sans Mono) as such.
    const QFontMetrics metrics(clock->font());
    const int digit = metrics.horizontalAdvance(QChar('8'));
    for (const QChar glyph : QStringLiteral("1:iW"))
      EXPECT_EQ(metrics.horizontalAdvance(glyph), digit) << glyph.toLatin1();
    const auto* caption = ControlAs<QLabel>(NextTimeCaption);
    EXPECT_EQ(caption->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_FALSE(caption->isVisible());
    const auto* picker = ControlAs<QTimeEdit>(AlarmPicker1);
    EXPECT_EQ(picker->text(), "07:00 AM");
    EXPECT_EQ(ControlAs<QTimeEdit>(AlarmPicker2)->text(), "09:00 AM");
    EXPECT_FALSE(picker->calendarPopup());
    EXPECT_EQ(picker->buttonSymbols(), QAbstractSpinBox::UpDownArrows);
  });
}

// Tab visits the controls in creation order, skipping the sound boxes, the
// labels and the disabled box; of a row's radio pair only the chosen one
// takes the focus, as in a Windows dialog (the arrows move within the pair).
TEST_F(LinuxWindow, TabFollowsTheCreationOrder) {
  Run([] {
    QWidget* window = linux_window::MainWindow();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    std::vector<int> expected, visited;
    for (const ControlSpec& spec : kControls)
      if (spec.kind != ControlKind::SoundBox && spec.kind != ControlKind::CaptionLabel &&
          spec.kind != ControlKind::ClockLabel && spec.kind != ControlKind::DisabledCheckBox &&
          spec.kind != ControlKind::SfxRadio)
        expected.push_back(spec.id);
    linux_window::Control(expected.front())->setFocus();
    for (size_t i = 0; i < expected.size(); ++i) {
      visited.push_back(linux_window::ControlIdOf(QApplication::focusWidget()));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(visited, expected);
  });
}

}  // namespace
