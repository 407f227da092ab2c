// Repeating a spoken alarm until the user confirms it.
#pragma once

#include <atomic>
#include <string>

#include "platform/platform.h"

// Set when the user dismisses a spoken alarm's box; the repeater clears it as
// it ends. One flag for all alarms: every running repeater watches it.
extern std::atomic<int> AlarmConfirmed;

// Thread body: speaks `text` again whenever no voice is busy, until the alarm
// is confirmed or a repetition cannot be started.
void AlarmRepeater(std::string text);

// Starts AlarmRepeater with `text` (the thread's handle is left to the
// caller), first clearing a confirmation no running repeater will take. Null
// when the thread cannot be started. Called on the window's thread only.
platform::Thread* StartAlarmRepeater(const std::string& text);
