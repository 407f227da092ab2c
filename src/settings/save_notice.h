// The message about settings that cannot be saved: the first change that
// cannot be saved tells the user where and why, and no later one does until
// a save works again; a failure after that is new, and its changes would be
// lost as well. The change itself stays in memory.
#pragma once

#include <string>

#include "platform/platform.h"

// Start-up, and a save that worked: the next failure is told.
void ForgetSaveNotice();

// Tells the user, unless this failure has been told already, that the settings
// cannot be saved to `path` (empty when there is no folder for them) and why.
void TellSettingsNotSaved(const std::string& path, platform::SaveResult why);

// The same for a settings file that start-up found but could not read: a
// save would put the defaults in place of what it holds.
void TellUnreadSettingsNotReplaced(const std::string& path);
