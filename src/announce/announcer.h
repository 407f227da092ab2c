// Turning an announcement text into a sound, speech or an alarm.
#pragma once

#include <atomic>
#include <string>

// Set when the user dismisses a spoken alarm's box; the repeater clears it as
// it ends.
extern std::atomic<int> AlarmConfirmed;

// Plays, speaks or raises `text` as an alarm; returns when that is done (for
// an alarm, when the user has dismissed its box).
void Announce(const std::string& text);

// Thread body: speaks `text` again whenever no voice is busy, until the alarm
// is confirmed.
void AlarmRepeater(std::string text);
