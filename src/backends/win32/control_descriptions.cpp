// What a screen reader hears of a control beyond its name and state, given
// through oleacc's annotation service: Narrator and NVDA read it with the
// control's focus.
#include <windows.h>
#include <initguid.h>
#include <oleacc.h>

#include <string>

#include "backends/win32/main_window.h"
#include "platform/platform.h"

namespace {

// Made at the first description, on the window's thread, and kept for the
// process's life; null when the service cannot be had.
IAccPropServices* Annotations() {
  static IAccPropServices* const service = [] {
    IAccPropServices* made = nullptr;
    ::CoInitialize(nullptr);  // the window's thread had no apartment
    if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IAccPropServices, reinterpret_cast<void**>(&made))))
      made = nullptr;
    return made;
  }();
  return service;
}

std::wstring Wide(const std::string& text) {
  const int size = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(size > 0 ? size : 1, L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), size);
  return wide;
}

}  // namespace

namespace platform {

void SetControlDescription(int control_id, const std::string& text) {
  const HWND control = win32::ControlWindow(control_id);
  IAccPropServices* service = control != nullptr ? Annotations() : nullptr;
  if (service == nullptr) return;
  if (text.empty()) {
    const MSAAPROPID description = PROPID_ACC_DESCRIPTION;
    service->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, &description, 1);
  } else {
    service->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_DESCRIPTION,
                            Wide(text).c_str());
  }
}

}  // namespace platform
