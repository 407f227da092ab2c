// The Qt widget that stands for each kind of control, with the table's
// texts, fonts and colours.
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QWidget>

#include "window/control_table.h"

namespace linux_window {

QColor ColourOf(const Rgb& rgb);

// The window's 8-point sans-serif font, which also sets the dialog units.
QFont WindowFont();
QIcon ProgramIcon();

QWidget* MakeControl(const ControlSpec& spec, QWidget* window);

}  // namespace linux_window
