#include "backends/linux/radio_pairs.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QKeyEvent>

#include "backends/linux/main_window.h"
#include "platform/control_ids.h"

namespace linux_window {

namespace {

// Qt moves through a group only sideways: Up and Down look for a button
// above or below, which a row's pair does not have, and leave the row.
class ArrowKeys : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_Left && key != Qt::Key_Right)
      return false;
    auto* button = qobject_cast<QAbstractButton*>(watched);
    QButtonGroup* group = button != nullptr ? button->group() : nullptr;
    if (group == nullptr) return false;
    // Two buttons: every direction leads to the other one, which is then
    // chosen, as a click would.
    for (QAbstractButton* other : group->buttons())
      if (other != button) {
        other->setFocus(Qt::TabFocusReason);
        other->click();
      }
    return true;
  }
};

}  // namespace

void GroupRadioPairs(QWidget* window) {
  auto* arrows = new ArrowKeys;
  arrows->setParent(window);
  for (const RuleRow& row : kRuleRows) {
    auto* group = new QButtonGroup(window);
    for (const int id : {row.speak_radio, row.sfx_radio}) {
      auto* radio = qobject_cast<QAbstractButton*>(Control(id));
      group->addButton(radio);
      radio->installEventFilter(arrows);
    }
  }
}

}  // namespace linux_window
