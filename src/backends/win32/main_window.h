// The one main window, as the other backend files reach it.
#pragma once

#include <windows.h>

namespace win32 {

// The dialog, or null before it is built and after it is gone.
HWND MainWindow();

// Control `id` of the main window, or null.
HWND ControlWindow(int id);

}  // namespace win32
