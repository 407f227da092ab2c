// What a screen reader hears of the focused control beyond its name and
// state: a rule box's next matching time, which a sighted user gets by
// resting the mouse on it, and a change the window made by itself.
#pragma once

#include <string>

// The keyboard focus moved to `control_id` (0: none of ours). The control it
// left loses its description.
void DescribeFocus(int control_id);
// Keeps a focused rule box's next matching time current at each new minute
// the clock tick processed; called after the tick. (A change of the settings
// is a click elsewhere, which takes the focus.)
void KeepFocusDescribed();
// Tells the user, through the focused control, of a change they did not make
// there; it holds until the focus moves.
void TellFocusedControl(const std::string& note);
// Forgets the focus, for a new window.
void ResetFocusDescription();
