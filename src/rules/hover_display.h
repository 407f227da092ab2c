// Resting the mouse on a rule shows the next time that matches it.
#pragma once

#include <cstdint>

// The highlighted rule check box, 0 when none; the clock tick pauses while
// it is set.
extern std::int32_t HoverControl;

// Handles the cursor arriving over the control with id `control_id` (0 for
// the window itself).
void HoverDisplay(int control_id);
