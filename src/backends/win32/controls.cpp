// The main window's controls, addressed by their control ids.
#include <windows.h>
#include <commctrl.h>

#include "platform/platform.h"
#include "backends/win32/main_window.h"

namespace platform {

namespace {

// Every picker time is a time of this one day.
constexpr WORD kPickerYear = 2010;
constexpr WORD kPickerMonth = 9;
constexpr WORD kPickerDay = 29;

LRESULT Send(int control_id, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
  const HWND control = win32::ControlWindow(control_id);
  return control ? ::SendMessageA(control, message, wparam, lparam) : 0;
}

}  // namespace

int GetCheck(int control_id) { return static_cast<int>(Send(control_id, BM_GETCHECK)); }

void SetCheck(int control_id, int state) {
  Send(control_id, BM_SETCHECK, static_cast<WPARAM>(state));
}

// A row's Speak id is below its SFX id and nothing between them is a radio.
void CheckRadioPair(int speak_id, int sfx_id, int checked_id) {
  ::CheckRadioButton(win32::MainWindow(), speak_id, sfx_id, checked_id);
}

void SetControlText(int control_id, const std::string& text) {
  const HWND control = win32::ControlWindow(control_id);
  if (control != nullptr) ::SetWindowTextA(control, text.c_str());
}

void ShowControl(int control_id, bool visible) {
  const HWND control = win32::ControlWindow(control_id);
  if (control != nullptr) ::ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

// A time that does not exist is refused by the picker, which keeps its old one.
void SetPickerTime(int control_id, int hour, int minute) {
  SYSTEMTIME time = {};
  time.wYear = kPickerYear;
  time.wMonth = kPickerMonth;
  time.wDay = kPickerDay;
  time.wHour = static_cast<WORD>(hour);
  time.wMinute = static_cast<WORD>(minute);
  Send(control_id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

// Read as a time, not as its text: the text's AM/PM designator is the user's
// locale's, and may be anything or nothing at all. A picker without a valid
// time (none is ever made) reads as midnight.
ClockTime PickerTime(int control_id) {
  SYSTEMTIME time = {};
  if (Send(control_id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID)
    return {0, 0};
  return {time.wHour, time.wMinute};
}

// Maps the focus window to our control id; a picker's inner parts count as
// the picker.
int FocusedControl() {
  const HWND window = win32::MainWindow();
  if (window == nullptr) return 0;
  HWND focus = ::GetFocus();
  while (focus != nullptr && ::GetParent(focus) != window)
    focus = ::GetParent(focus);
  return focus ? ::GetDlgCtrlID(focus) : 0;
}

void FocusControl(int control_id) {
  const HWND control = win32::ControlWindow(control_id);
  if (control != nullptr) ::SetFocus(control);
}

}  // namespace platform
