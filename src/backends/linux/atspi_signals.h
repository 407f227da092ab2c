// AT-SPI events that Qt 6.4's bridge leaves out or sends unreadable, sent on
// the bridge's own connection to the accessibility bus.
#pragma once

#include <QWidget>

namespace linux_window {

// The "visible" state follows a show or hide; Qt sends only "showing", so a
// screen reader that keeps states from events held a shown control as
// invisible.
void SendVisibleChange(QWidget* control, bool visible);
// A description change carrying the new text. Qt's own event carries the
// object instead, and Orca, which speaks the text of the focused control's
// new description, speaks nothing.
void SendDescriptionChange(QWidget* control);

}  // namespace linux_window
