#include "backends/linux/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "backends/linux/main_window.h"
#include "platform/control_ids.h"

namespace linux_window {

namespace {

QAccessibleInterface* MainWindowAsFrame(const QString&, QObject* object) {
  QWidget* window = MainWindow();
  if (object == nullptr || object != window) return nullptr;
  // A window's accessible name is its title.
  return new QAccessibleWidget(window, QAccessible::Window);
}

// The two alarm rows share their caption too.
QString RowName(int rule) {
  if (rule >= SayAlarm1) return QStringLiteral("Say custom alarm %1").arg(rule - SayAlarm1 + 1);
  return QString::fromUtf8(ControlText(kRuleRows[rule].rule_box));
}

}  // namespace

void ExposeMainWindowAsFrame() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(MainWindowAsFrame);
}

QString AccessibleNameOf(const ControlSpec& spec) {
  if (spec.id == AlarmPicker1) return QStringLiteral("Alarm 1 time");
  if (spec.id == AlarmPicker2) return QStringLiteral("Alarm 2 time");
  for (int rule = 0; rule < kRuleCount; ++rule) {
    const RuleRow& row = kRuleRows[rule];
    const QString of_row = RowName(rule);
    if (spec.id == row.rule_box) return of_row;
    if (spec.id == row.speak_radio) return QStringLiteral("Speak for ") + of_row;
    if (spec.id == row.sfx_radio) return QStringLiteral("SFX for ") + of_row;
    if (spec.id == row.sound_box) return QStringLiteral("Sound for ") + of_row;
    if (spec.id == row.browse_button) return QStringLiteral("Browse for the sound of ") + of_row;
  }
  return QString::fromUtf8(spec.text);
}

}  // namespace linux_window
