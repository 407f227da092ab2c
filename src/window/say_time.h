// quorvel --say-time: the time now, spoken once, for a keyboard shortcut or
// the launcher's menu.
#pragma once

#include <string>

#include "settings/settings.h"

// The words an alarm at `hh_mm` says after its marker ("9 52" at 9:52), in
// the reading of `settings`: 12-hour when its 12hour switch is on.
std::string TimePhrase(const std::string& hh_mm, const SettingsRecord& settings);

// Speaks the current time in the reading of the user's settings file, which
// it reads but never writes or tidies, and returns once the phrase is done.
// False when no voice could be made.
bool SayTimeNow();
