// Turning an announcement text into a sound, speech or an alarm.
#pragma once

#include <string>

// Plays, speaks or raises `text` as an alarm. Sounds and phrases go on on
// threads of their own; an alarm returns when the user has dismissed its box.
// Runs on the window's thread.
void Announce(const std::string& text);
