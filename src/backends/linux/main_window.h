// The Qt main window's state, shared by the backend's files: the one
// top-level widget and its controls by control id.
#pragma once

#include <QWidget>

namespace linux_window {

// Null before BuildMainWindow and after the window has been released.
QWidget* MainWindow();
// The control with that id, null when there is none.
QWidget* Control(int control_id);
// The control id of `widget` or of the control it is part of (a picker's
// inner line edit, say); 0 for the window itself and for anything else.
int ControlIdOf(const QWidget* widget);
// Whether the window system lets a program place its own windows: Wayland
// leaves that to the compositor.
bool CanPlaceWindows();

}  // namespace linux_window
