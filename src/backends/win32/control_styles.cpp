#include "backends/win32/control_styles.h"

#include <commctrl.h>

namespace win32 {

namespace {

constexpr DWORD kCheckBox =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY | BS_LEFT | BS_VCENTER;

}  // namespace

NativeControl NativeControlFor(ControlKind kind) {
  switch (kind) {
    case ControlKind::RuleCheckBox:
    case ControlKind::PlainCheckBox:
      return {"BUTTON", kCheckBox, 0};
    case ControlKind::DisabledCheckBox:
      return {"BUTTON", kCheckBox | WS_DISABLED, 0};
    case ControlKind::SpeakRadio:
      // Each row's radio pair is a group of its own.
      return {"BUTTON",
              WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON | BS_LEFT |
                  BS_VCENTER,
              0};
    case ControlKind::SfxRadio:
      return {"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON, 0};
    case ControlKind::SoundBox:
      return {"EDIT", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_READONLY | ES_LEFT,
              WS_EX_CLIENTEDGE};
    case ControlKind::BrowseButton:
      return {"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::AlarmPicker:
      return {DATETIMEPICK_CLASSA, WS_CHILD | WS_VISIBLE | WS_TABSTOP | DTS_TIMEFORMAT,
              WS_EX_CLIENTEDGE};
    case ControlKind::CaptionLabel:
      return {"STATIC", WS_CHILD | WS_VISIBLE | SS_LEFT, 0};
    case ControlKind::ClockLabel:
      return {"STATIC", WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTER | SS_CENTERIMAGE, 0};
  }
  return {"STATIC", WS_CHILD, 0};
}

}  // namespace win32
