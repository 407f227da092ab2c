// The main window's behaviour: what each message it receives does.
#pragma once

#include <cstdint>

// The messages the window's behaviour acts on, as every backend reports them.
enum class WindowMessage {
  InitDialog,  // the window starts running
  NcActivate,  // wparam: 0 when the window is drawn inactive
  SetCursor,   // wparam: control id under the cursor, 0 for none
  Timer,       // wparam: timer id
  Command,     // wparam: control id in the low 16 bits, code in the high 16
  Notify,      // wparam: the time picker's control id
};

// The control that had the focus when the window was last deactivated.
extern int SavedFocus;

// Always 0: the platform's default handling runs for every message as well.
std::intptr_t MainWindowProc(WindowMessage message, std::uintptr_t wparam);
