// What each kind of control is as a native child window.
#pragma once

#include <windows.h>

#include "window/control_table.h"

namespace win32 {

struct NativeControl {
  const char* window_class;
  DWORD style;
  DWORD extended_style;
};

NativeControl NativeControlFor(ControlKind kind);

}  // namespace win32
