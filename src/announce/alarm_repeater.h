// Repeating a spoken alarm until the user confirms it.
#pragma once

#include <atomic>
#include <string>

#include "platform/platform.h"

// Raised by one each time the user dismisses a spoken alarm's box; a
// repeater that finds it above 0 takes one and ends. Shared by all alarms, and
// counted so that two boxes dismissed before any repeater looks end two
// repeaters, not one.
extern std::atomic<int> AlarmConfirmed;

// Thread body: speaks `text` again whenever no voice is busy, until the alarm
// is confirmed or a repetition cannot be started.
void AlarmRepeater(std::string text);

// Starts AlarmRepeater with `text` (the thread's handle is left to the
// caller), first clearing a confirmation no running repeater will take. Null
// when the thread cannot be started. Called on the window's thread only.
platform::Thread* StartAlarmRepeater(const std::string& text);
