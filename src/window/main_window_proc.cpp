#include "window/main_window_proc.h"

#include "platform/platform.h"
#include "rules/clock_tick.h"
#include "rules/hover_display.h"
#include "window/control_actions.h"

int SavedFocus = 0;

namespace {

constexpr unsigned kClockPeriodMs = 1000;

// Switching to another program and back puts the focus where it was.
void KeepFocus(bool becoming_active) {
  if (!becoming_active) {
    SavedFocus = platform::FocusedControl();
  } else if (SavedFocus != 0) {
    platform::FocusControl(SavedFocus);
    SavedFocus = 0;
  }
}

}  // namespace

std::intptr_t MainWindowProc(WindowMessage message, std::uintptr_t wparam) {
  const int low_word = static_cast<int>(wparam & 0xFFFF);
  const bool plain_click = ((wparam >> 16) & 0xFFFF) == 0;
  switch (message) {
    case WindowMessage::InitDialog:
      platform::StartTimer(kClockTimerId, kClockPeriodMs);
      break;
    case WindowMessage::NcActivate:
      KeepFocus(wparam != 0);
      break;
    case WindowMessage::SetCursor:
      HoverDisplay(static_cast<int>(wparam));
      break;
    case WindowMessage::Timer:
      ClockTick(static_cast<int>(wparam));
      break;
    case WindowMessage::Command:
      if (plain_click) RunControlAction(low_word);
      break;
    case WindowMessage::Notify:
      // Only the time pickers' notifications act; any other control's (a
      // button's hot-tracking, say) must not fire that button's action.
      if (plain_click && IsAlarmPicker(low_word)) RunControlAction(low_word);
      break;
  }
  return 0;
}
