// The main window's in-memory dialog template: the window alone, its
// controls are created one by one afterwards.
#pragma once

#include <windows.h>

#include <vector>

#include "window/control_table.h"

namespace win32 {

constexpr DWORD kMainWindowStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU |
                                   WS_MINIMIZEBOX | DS_MODALFRAME | DS_CENTER | DS_SETFONT |
                                   DS_NOFAILCREATE | DS_3DLOOK;
constexpr DWORD kMainWindowExtendedStyle = WS_EX_CONTROLPARENT;

// A DLGTEMPLATE with no items, no menu, the default class, an empty title
// (set afterwards) and the window's font. WORD storage keeps the required
// alignment; the vector's buffer is suitably aligned for the header.
std::vector<WORD> MainDialogTemplate(const WindowProperties& window);

}  // namespace win32
