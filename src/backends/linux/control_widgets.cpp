#include "backends/linux/control_widgets.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "backends/linux/accessibility.h"
#include "backends/linux/time_picker.h"

namespace linux_window {

QColor ColourOf(const Rgb& rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

namespace {

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
// theme would load the theme at every start. Read as the PNGs they are, since
// a reader left to find out (QIcon::addFile's) loads every image plugin.
QIcon ProgramIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48, 256}) {
    QImageReader reader(QStringLiteral(":/quorvel-%1.png").arg(size), "png");
    reader.setAutoDetectImageFormat(false);
    icon.addPixmap(QPixmap::fromImage(reader.read()));
  }
  return icon;
}

QWidget* MakeControl(const ControlSpec& spec, QWidget* window) {
  QWidget* control = MakeWidget(spec, window);
  control->setAccessibleName(AccessibleNameOf(spec));
  return control;
}

}  // namespace linux_window
