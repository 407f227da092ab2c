// An alarm box's twin on the desktop: a notification through the desktop's
// notification service, which comes forward where a window cannot (Wayland
// places no window on top, and focus-stealing prevention holds a new box back
// on X11 too).
#pragma once

class QMessageBox;

namespace linux_window {

// Shows the open alarm box `box` as an urgent, resident notification until the
// box is dismissed; the notification's action dismisses the box as its OK
// button does. Without a notification service nothing comes and nothing
// waits: every call to the service is asynchronous and bounded.
void NotifyWhileOpen(QMessageBox* box);

}  // namespace linux_window
