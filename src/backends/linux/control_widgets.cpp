#include "backends/linux/control_widgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>

#include "platform/control_ids.h"
#include "backends/linux/main_window.h"
#include "platform/platform.h"

namespace linux_window {

QColor ColourOf(const Rgb& rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

namespace {

QString RuleText(Rule rule) {
  const int id = kRuleRows[rule].rule_box;
  for (const ControlSpec& spec : kControls)
    if (spec.id == id) return QString::fromUtf8(spec.text);
  return QString();
}

// What a screen reader calls a control without a text of its own.
QString NameOf(const ControlSpec& spec) {
  if (spec.id == AlarmPicker1) return QStringLiteral("Alarm 1 time");
  if (spec.id == AlarmPicker2) return QStringLiteral("Alarm 2 time");
  for (int rule = 0; rule < kRuleCount; ++rule)
    if (kRuleRows[rule].sound_box == spec.id) {
      const QString row = rule >= SayAlarm1 ? QStringLiteral("custom alarm %1").arg(rule - SayAlarm1 + 1)
                                            : RuleText(static_cast<Rule>(rule));
      return QStringLiteral("Sound for ") + row;
    }
  return QString::fromUtf8(spec.text);
}

// "Courier New" where installed, else the system's fixed-width face. Asking
// for the one face, rather than listing every family, keeps the start quick;
// a look-alike fontconfig offers in its place (Liberation Mono) is not it.
QFont ClockFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  const QString face = QString::fromUtf8(kWindow.clock_font_face);
  if (QFontInfo(QFont(face)).family() == face) font.setFamily(face);
  font.setPointSize(kWindow.clock_font_points);
  font.setWeight(QFont::Bold);
  return font;
}

QLabel* MakeClockLabel(const QString& text, QWidget* window) {
  auto* label = new QLabel(text, window);
  label->setFont(ClockFont());
  label->setFrameShape(QFrame::Box);
  label->setAlignment(Qt::AlignCenter);
  label->setAutoFillBackground(true);
  QPalette colours = label->palette();
  colours.setColor(QPalette::WindowText, ColourOf(kWindow.clock_text));
  colours.setColor(QPalette::Window, ColourOf(kWindow.clock_background));
  label->setPalette(colours);
  return label;
}

QLabel* MakeCaption(const QString& text, QWidget* window) {
  auto* label = new QLabel(text, window);
  QPalette colours = label->palette();
  colours.setColor(QPalette::WindowText, ColourOf(kWindow.caption_text));
  label->setPalette(colours);
  label->hide();  // shown only while a rule is hovered
  return label;
}

// Tab leaves the picker at once, as on Windows; the arrow keys move between
// its fields.
class Picker : public QTimeEdit {
 public:
  using QTimeEdit::QTimeEdit;

 protected:
  bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

QTimeEdit* MakePicker(QWidget* window) {
  auto* picker = new Picker(window);
  picker->setDisplayFormat(QStringLiteral("hh:mm AP"));  // 07:30 AM
  picker->setCalendarPopup(false);
  picker->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  // A new picker shows the moment it was made.
  const std::int64_t minute_of_day = platform::LocalClockSeconds() / 60 % (24 * 60);
  picker->setTime(QTime(0, 0).addSecs(static_cast<int>(minute_of_day) * 60));
  return picker;
}

QLineEdit* MakeSoundBox(QWidget* window) {
  auto* box = new QLineEdit(window);
  box->setReadOnly(true);
  box->setFocusPolicy(Qt::NoFocus);  // Tab skips it
  return box;
}

QWidget* MakeWidget(const ControlSpec& spec, QWidget* window) {
  const QString text = QString::fromUtf8(spec.text);
  switch (spec.kind) {
    case ControlKind::RuleCheckBox:
    case ControlKind::PlainCheckBox:
      return new QCheckBox(text, window);
    case ControlKind::DisabledCheckBox: {
      auto* box = new QCheckBox(text, window);
      box->setEnabled(false);
      return box;
    }
    case ControlKind::SpeakRadio:
    case ControlKind::SfxRadio:
      return new QRadioButton(text, window);
    case ControlKind::SoundBox:
      return MakeSoundBox(window);
    case ControlKind::BrowseButton: {
      auto* button = new QPushButton(text, window);
      button->setAutoDefault(false);  // Enter does nothing
      return button;
    }
    case ControlKind::AlarmPicker:
      return MakePicker(window);
    case ControlKind::CaptionLabel:
      return MakeCaption(text, window);
    case ControlKind::ClockLabel:
      return MakeClockLabel(text, window);
  }
  return new QWidget(window);
}

}  // namespace

QFont WindowFont() {
  QFont font(QStringLiteral("Sans Serif"), kWindow.font_points);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

// The built-in copies of the icon theme's files: looking the icon up in the
// theme would load the theme and the image plugins at every start.
QIcon ProgramIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48, 256})
    icon.addFile(QStringLiteral(":/quorvel-%1.png").arg(size), QSize(size, size));
  return icon;
}

QWidget* MakeControl(const ControlSpec& spec, QWidget* window) {
  QWidget* control = MakeWidget(spec, window);
  control->setAccessibleName(NameOf(spec));
  return control;
}

void GroupRadioPairs(QWidget* window) {
  for (const RuleRow& row : kRuleRows) {
    auto* group = new QButtonGroup(window);
    group->addButton(qobject_cast<QAbstractButton*>(Control(row.speak_radio)));
    group->addButton(qobject_cast<QAbstractButton*>(Control(row.sfx_radio)));
  }
}

}  // namespace linux_window
