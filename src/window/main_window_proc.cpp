#include "window/main_window_proc.h"

#include "platform/platform.h"
#include "window/clock_tick.h"
#include "rules/hover_display.h"
#include "window/control_actions.h"
#include "window/focus_description.h"

int SavedFocus = 0;

namespace {

constexpr unsigned kClockPeriodMs = 1000;

}  // namespace

void OnWindowStart() {
  StartClockTick();
  ResetFocusDescription();  // a new window's controls carry none
  platform::StartTimer(kClockTimerId, kClockPeriodMs);
}

// Switching to another program and back puts the focus where it was.
void OnActivation(bool active) {
  if (!active) {
    SavedFocus = platform::FocusedControl();
  } else if (SavedFocus != 0) {
    platform::FocusControl(SavedFocus);
    SavedFocus = 0;
  }
}

void OnPointerOver(int control_id) { HoverDisplay(control_id); }

void OnTimer(int timer_id) {
  ClockTick(timer_id);
  KeepFocusDescribed();
}

void OnClick(int control_id) { RunControlAction(control_id); }

void OnFocus(int control_id) { DescribeFocus(control_id); }

// A button's notification (hot-tracking, say) must not fire its action.
void OnPickerEvent(int control_id) {
  if (IsAlarmPicker(control_id)) RunControlAction(control_id);
}
