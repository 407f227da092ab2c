// Putting the loaded settings into the window's controls.
#pragma once

#include <string>

// Sets every control from Settings; a rule with no sound file is switched to
// Speak (in memory only).
void ShowSettings();

// The short name a sound box shows for a path: the part after the last "\"
// or "/", with every ".wav" and then every ".WAV" removed.
std::string SoundDisplayName(const std::string& path);
