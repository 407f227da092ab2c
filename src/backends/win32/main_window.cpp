// The main window: built from the control table, run by a blocking message
// loop, its native messages turned into the core's window event calls.
#include "backends/win32/main_window.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "platform/control_ids.h"
#include "platform/platform.h"
#include "backends/win32/control_styles.h"
#include "backends/win32/dialog_template.h"
#include "window/control_table.h"
#include "window/main_window_proc.h"

namespace {

struct MainWindowState {
  HWND window = nullptr;
  HFONT clock_font = nullptr;
  HBRUSH clock_background = nullptr;
  HBRUSH hover_background = nullptr;
  std::vector<int> highlighted;  // rule boxes showing the hover colour
};

MainWindowState state;

COLORREF ColourOf(const Rgb& rgb) { return RGB(rgb.red, rgb.green, rgb.blue); }

const ControlSpec* SpecOf(int id) {
  for (const ControlSpec& spec : kControls)
    if (spec.id == id) return &spec;
  return nullptr;
}

bool IsHighlighted(int id) {
  return std::find(state.highlighted.begin(), state.highlighted.end(), id) !=
         state.highlighted.end();
}

// Answers a control's colour request; null leaves the control the system's
// colours.
HBRUSH ControlColours(HDC dc, HWND control) {
  const int id = ::GetDlgCtrlID(control);
  const ControlSpec* spec = SpecOf(id);
  if (spec != nullptr && spec->kind == ControlKind::CaptionLabel) {
    ::SetTextColor(dc, ColourOf(kWindow.caption_text));
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    return ::GetSysColorBrush(COLOR_BTNFACE);
  }
  if (spec != nullptr && spec->kind == ControlKind::ClockLabel) {
    ::SetTextColor(dc, ColourOf(kWindow.clock_text));
    ::SetBkColor(dc, ColourOf(kWindow.clock_background));
    return state.clock_background;
  }
  if (IsHighlighted(id)) {
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    ::SetBkColor(dc, ColourOf(kWindow.hover_background));
    return state.hover_background;
  }
  return nullptr;
}

// What the window does on its own, running or not.
bool HandleWindowMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                         INT_PTR& result) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      result = reinterpret_cast<INT_PTR>(
          ControlColours(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam)));
      return true;
    case WM_CLOSE:  // the system Close command; Esc never gets here
      ::DestroyWindow(window);
      result = TRUE;
      return true;
    case WM_DESTROY:
      // Wakes the message loop, which may be waiting for a posted message
      // when the window is destroyed by a sent one.
      ::PostMessageA(nullptr, WM_NULL, 0, 0);
      return false;
    case WM_NCDESTROY:
      state.window = nullptr;
      return false;
    default:
      return false;
  }
}

// Until the window starts running nothing reaches the core.
INT_PTR CALLBACK BuildingProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  INT_PTR result = FALSE;
  HandleWindowMessage(window, message, wparam, lparam, result);
  return result;
}

int ControlIdUnder(HWND window, HWND target) {
  return target == nullptr || target == window ? 0 : ::GetDlgCtrlID(target);
}

bool PointerIsOver(HWND window) {
  POINT at;
  if (!::GetCursorPos(&at)) return true;
  const HWND under = ::WindowFromPoint(at);
  return under == window || ::IsChild(window, under);
}

INT_PTR CALLBACK RunningProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  INT_PTR result = FALSE;
  if (HandleWindowMessage(window, message, wparam, lparam, result)) return result;
  switch (message) {
    case WM_INITDIALOG:
      OnWindowStart();
      break;
    case WM_NCACTIVATE:
      OnActivation(wparam != 0);
      break;
    case WM_SETCURSOR:
      OnPointerOver(ControlIdUnder(window, reinterpret_cast<HWND>(wparam)));
      break;
    case WM_TIMER:
      // No cursor message comes once the pointer has left the window (to
      // another program, the taskbar, a box over it), so while a hover is
      // shown its end is looked for here, once a second.
      if (!state.highlighted.empty() && !PointerIsOver(window)) OnPointerOver(0);
      OnTimer(static_cast<int>(wparam));
      break;
    case WM_COMMAND:
      // Only the click itself acts; the check boxes' focus notifications
      // tell where the focus is (a rule box is described to a screen
      // reader), their double-clicks nothing.
      if (HIWORD(wparam) == BN_CLICKED) OnClick(LOWORD(wparam));
      else if (HIWORD(wparam) == BN_SETFOCUS) OnFocus(LOWORD(wparam));
      else if (HIWORD(wparam) == BN_KILLFOCUS) OnFocus(0);
      break;
    case WM_NOTIFY:
      // A picker reports with its id as wparam; every notification counts.
      if (HIWORD(wparam) == 0) OnPickerEvent(LOWORD(wparam));
      break;
    default:
      break;
  }
  return FALSE;  // the dialog's default handling runs for every message
}

void CreateControls(HWND window) {
  const HFONT font = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
  const HINSTANCE instance = ::GetModuleHandleA(nullptr);
  for (const ControlSpec& spec : kControls) {
    RECT box = {spec.x, spec.y, spec.x + spec.width, spec.y + spec.height};
    ::MapDialogRect(window, &box);
    const win32::NativeControl native = win32::NativeControlFor(spec.kind);
    const HWND control = ::CreateWindowExA(
        native.extended_style, native.window_class, spec.text, native.style, box.left, box.top,
        box.right - box.left, box.bottom - box.top, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance, nullptr);
    if (control == nullptr) continue;  // start-up goes on with what exists
    ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (spec.kind == ControlKind::AlarmPicker)
      ::SendMessageA(control, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(kWindow.picker_format));
    if (spec.kind == ControlKind::CaptionLabel) ::ShowWindow(control, SW_HIDE);
  }
}

// The clock font at the screen's resolution, measured on the clock label.
HFONT CreateClockFont(HWND clock_label) {
  const HDC dc = ::GetDC(clock_label);
  const int dots_per_inch = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ::ReleaseDC(clock_label, dc);
  LOGFONTA font = {};
  font.lfHeight = -::MulDiv(kWindow.clock_font_points, dots_per_inch, 72);
  font.lfWeight = kWindow.clock_font_weight;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfPitchAndFamily = DEFAULT_PITCH;
  lstrcpynA(font.lfFaceName, kWindow.clock_font_face, LF_FACESIZE);
  return ::CreateFontIndirectA(&font);
}

}  // namespace

namespace win32 {

HWND MainWindow() { return state.window; }

HWND ControlWindow(int id) { return state.window ? ::GetDlgItem(state.window, id) : nullptr; }

}  // namespace win32

namespace platform {

void BuildMainWindow() {
  const std::vector<WORD> dialog = win32::MainDialogTemplate(kWindow);
  const HINSTANCE instance = ::GetModuleHandleA(nullptr);
  const HWND window = ::CreateDialogIndirectParamA(
      instance, reinterpret_cast<LPCDLGTEMPLATEA>(dialog.data()), nullptr, BuildingProc, 0);
  if (window == nullptr) return;
  state.window = window;
  ::SetWindowTextA(window, kWindow.title);
  CreateControls(window);

  state.clock_background = ::CreateSolidBrush(ColourOf(kWindow.clock_background));
  state.hover_background = ::CreateSolidBrush(ColourOf(kWindow.hover_background));

  const HWND clock_label = ::GetDlgItem(window, ClockDisplay);
  state.clock_font = CreateClockFont(clock_label);
  ::SendMessageA(clock_label, WM_SETFONT, reinterpret_cast<WPARAM>(state.clock_font), FALSE);

  const HICON icon = ::LoadIconA(instance, kWindow.icon_name);
  if (icon != nullptr) ::SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

void RunMainWindow() {
  const HWND window = state.window;
  if (window == nullptr) return;
  ::SetWindowLongPtrA(window, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(RunningProc));
  RunningProc(window, WM_INITDIALOG, reinterpret_cast<WPARAM>(window), 0);
  RECT client;
  ::GetClientRect(window, &client);
  RunningProc(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  ::ShowWindow(window, SW_SHOW);

  // Blocks until a message arrives: an idle clock should cost nothing.
  MSG message;
  while (::IsWindow(window) && ::GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (!::IsDialogMessageA(window, &message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
  }
  if (::IsWindow(window)) ::DestroyWindow(window);  // a quit request ended the loop
}

void ReleaseWindowResources() {
  for (const HGDIOBJ object : {static_cast<HGDIOBJ>(state.clock_font),
                               static_cast<HGDIOBJ>(state.clock_background),
                               static_cast<HGDIOBJ>(state.hover_background)})
    if (object != nullptr) ::DeleteObject(object);
  state = MainWindowState();
}

void StartTimer(int timer_id, unsigned period_ms) {
  ::SetTimer(state.window, static_cast<UINT_PTR>(timer_id), period_ms, nullptr);
}

void SetHoverHighlight(int control_id, bool highlighted) {
  state.highlighted.erase(
      std::remove(state.highlighted.begin(), state.highlighted.end(), control_id),
      state.highlighted.end());
  if (highlighted) state.highlighted.push_back(control_id);
  const HWND control = win32::ControlWindow(control_id);
  if (control != nullptr)
    ::RedrawWindow(control, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace platform
