// The main window's controls, addressed by their control ids.
#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimeEdit>

#include "platform/control_ids.h"
#include "backends/linux/atspi_signals.h"
#include "backends/linux/control_widgets.h"
#include "backends/linux/main_window.h"
#include "platform/platform.h"
#include "window/control_table.h"

namespace {

template <typename Widget>
Widget* ControlAs(int control_id) {
  return qobject_cast<Widget*>(linux_window::Control(control_id));
}

}  // namespace

namespace platform {

int GetCheck(int control_id) {
  const auto* button = ControlAs<QAbstractButton>(control_id);
  return button != nullptr && button->isChecked() ? 1 : 0;
}

// Any value but 0 shows ticked: only a hand-edited file holds others.
void SetCheck(int control_id, int state) {
  if (auto* button = ControlAs<QAbstractButton>(control_id)) button->setChecked(state != 0);
}

void CheckRadioPair(int speak_id, int sfx_id, int checked_id) {
  auto* checked = ControlAs<QAbstractButton>(checked_id);
  if (checked != nullptr && (checked_id == speak_id || checked_id == sfx_id))
    checked->setChecked(true);  // the row's group clears the other
}

// Texts are the file system's bytes, UTF-8 on a usual system.
void SetControlText(int control_id, const std::string& text) {
  const QString shown = QFile::decodeName(QByteArray::fromStdString(text));
  if (auto* label = ControlAs<QLabel>(control_id)) {
    label->setText(shown);
    if (control_id == ClockDisplay) label->setAccessibleName(shown);
  } else if (auto* box = ControlAs<QLineEdit>(control_id)) {
    box->setText(shown);
    box->setCursorPosition(0);  // the start of a long name, as a read-only box shows it
  }
}

void ShowControl(int control_id, bool visible) {
  QWidget* control = linux_window::Control(control_id);
  // The hover hides the caption again at every cursor message over some
  // boxes: only a change is reported.
  if (control == nullptr || !control->isHidden() == visible) return;
  control->setVisible(visible);
  linux_window::SendVisibleChange(control, visible);
}

void SetHoverHighlight(int control_id, bool highlighted) {
  QWidget* box = linux_window::Control(control_id);
  if (box == nullptr) return;
  QPalette colours = QApplication::palette(box);
  // The role the filled background is painted in: a button's is Button, not
  // Window, and the style gives both the same grey.
  if (highlighted)
    colours.setColor(box->backgroundRole(), linux_window::ColourOf(kWindow.hover_background));
  box->setAutoFillBackground(highlighted);
  box->setPalette(colours);
  box->repaint();
}

// Setting a picker is no user action: no change is reported for it.
void SetPickerTime(int control_id, int hour, int minute) {
  auto* picker = ControlAs<QTimeEdit>(control_id);
  const QTime time(hour, minute);
  if (picker == nullptr || !time.isValid()) return;  // refused, as a real picker does
  const QSignalBlocker quiet(picker);
  picker->setTime(time);
}

ClockTime PickerTime(int control_id) {
  const auto* picker = ControlAs<QTimeEdit>(control_id);
  const QTime time = picker != nullptr ? picker->time() : QTime(0, 0);
  return {time.hour(), time.minute()};
}

void SetControlDescription(int control_id, const std::string& text) {
  QWidget* control = linux_window::Control(control_id);
  if (control == nullptr) return;
  control->setAccessibleDescription(QString::fromUtf8(text));
  linux_window::SendDescriptionChange(control);
}

// The window remembers its focus widget while another window is active.
int FocusedControl() {
  const QWidget* window = linux_window::MainWindow();
  return window != nullptr ? linux_window::ControlIdOf(window->focusWidget()) : 0;
}

void FocusControl(int control_id) {
  if (QWidget* control = linux_window::Control(control_id)) control->setFocus(Qt::OtherFocusReason);
}

}  // namespace platform
