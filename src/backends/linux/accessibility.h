// What the window tells a screen reader beyond what Qt's own accessible
// widgets say (Qt exports them through AT-SPI).
#pragma once

#include <QString>
#include <QWidget>

#include "window/control_table.h"

namespace linux_window {

// The main window is a frame named by its title, not an anonymous filler:
// "read title" finds it. Once a process, before the window is built.
void ExposeMainWindowAsFrame();
// The name a screen reader gives the control: its text, with its row where
// ten rows share the text ("Speak for Say 4-20", "Alarm 1 time").
QString AccessibleNameOf(const ControlSpec& spec);

}  // namespace linux_window
