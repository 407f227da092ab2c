// What a click (or a time picker's notification) on each control does.
#pragma once

bool IsAlarmPicker(int control_id);

// Changes the settings the control stands for and saves them at once.
// Controls without an action are ignored.
void RunControlAction(int control_id);
