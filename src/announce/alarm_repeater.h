// Repeating a spoken alarm until the user dismisses its box. Each alarm has a
// token of its own, which its box hands back: a dismissal ends that alarm's
// repeater and no other, also while several alarms' boxes are open at once.
#pragma once

#include <string>

#include "platform/platform.h"

using AlarmToken = unsigned long;

struct SpokenAlarm {
  AlarmToken token = 0;
  platform::Thread* repeater = nullptr;  // its handle, left to the caller; null when not started
};

// Starts the repeater that speaks `text` whenever no voice is busy, until the
// alarm is ended or a repetition cannot be started. Called on the window's
// thread.
SpokenAlarm StartSpokenAlarm(const std::string& text);

// The alarm's box was dismissed: its repeater starts no repetition after the
// one under way and ends. An alarm whose repeater gave up has nothing left.
void EndSpokenAlarm(AlarmToken alarm);

// True while the alarm's repeater runs, for a caller that must know it is
// over (its last repetition may still be spoken).
bool AlarmRepeats(AlarmToken alarm);
