// The main window's behaviour: each backend turns its native events into
// these calls, and the core decides what they do.
#pragma once

// The control that had the focus when the window was last deactivated.
extern int SavedFocus;

// The window starts running: the one-second clock timer starts.
void OnWindowStart();
// The window becomes inactive (false) or active again (true); the focus
// comes back to the control that had it.
void OnActivation(bool active);
// The pointer rests on control `control_id`, 0 for the window itself.
void OnPointerOver(int control_id);
// A period of timer `timer_id` has passed.
void OnTimer(int timer_id);
// The user clicked (or pressed Space on) a button, check box or radio.
void OnClick(int control_id);
// The keyboard focus moved to control `control_id`, 0 when none of ours has
// it.
void OnFocus(int control_id);
// A time picker's time changed, or the focus moved into or out of it.
// Other controls' notifications are ignored.
void OnPickerEvent(int control_id);
