// The alarm time picker: a QTimeEdit that behaves as the Windows one does
// for the keyboard and tells a screen reader each time it shows.
#pragma once

#include <QTimeEdit>

namespace linux_window {

// Shows the moment it was made.
QTimeEdit* MakePicker(QWidget* window);

}  // namespace linux_window
