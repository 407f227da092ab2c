#include "backends/linux/time_picker.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLineEdit>

#include <cstdint>

#include "platform/platform.h"

namespace linux_window {

namespace {

class Picker : public QTimeEdit {
 public:
  explicit Picker(QWidget* window) : QTimeEdit(window) {
    connect(this, &QTimeEdit::timeChanged, this, [this] { ShowValue(); });
  }

  // Qt's accessible spin box reads its value from this property, which a
  // time edit lacks: every time then read as 0, and a screen reader, which
  // speaks a spin box's text only when its value changes, fell silent after
  // the first change. The minute of the day tells one time from another.
  // Qt tells of a change only when an arrow key or the wheel stepped it,
  // not when digits were typed.
  void ShowValue() {
    const int minute_of_day = time().hour() * 60 + time().minute();
    setProperty("value", minute_of_day);
    QAccessibleValueChangeEvent changed(this, minute_of_day);
    QAccessible::updateAccessibility(&changed);
  }

 protected:
  // Tab leaves the picker at once, as on Windows; the arrow keys move
  // between its fields.
  bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }

  // The first digit typed into a field replaces it, as on Windows: with the
  // cursor merely in front of "08" (after Home, say) Qt would make it "108"
  // and drop the digit. The digits after it go on into the same field.
  void keyPressEvent(QKeyEvent* event) override {
    const QString typed = event->text();
    const bool digit = typed.size() == 1 && typed[0].isDigit();
    if (digit && !(typing_ && typed_section_ == currentSection()) &&
        !lineEdit()->hasSelectedText())
      setSelectedSection(currentSection());
    QTimeEdit::keyPressEvent(event);
    typing_ = digit;
    typed_section_ = currentSection();
  }
  void focusOutEvent(QFocusEvent* event) override {
    typing_ = false;
    QTimeEdit::focusOutEvent(event);
  }

 private:
  bool typing_ = false;
  Section typed_section_ = NoSection;
};

}  // namespace

QTimeEdit* MakePicker(QWidget* window) {
  auto* picker = new Picker(window);
  picker->setDisplayFormat(QStringLiteral("hh:mm AP"));  // 07:30 AM
  picker->setCalendarPopup(false);
  picker->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  const std::int64_t minute_of_day = platform::LocalClockSeconds() / 60 % (24 * 60);
  picker->setTime(QTime(0, 0).addSecs(static_cast<int>(minute_of_day) * 60));
  picker->ShowValue();  // also when the time was already midnight
  return picker;
}

}  // namespace linux_window
