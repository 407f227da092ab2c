// quorvel.ini in the settings folder: 36 "Key: value" lines with CR LF ends
// (reading takes CR alone and LF alone as line ends too).
#pragma once

#include <string>

#include "settings/settings.h"

// The defaults a first run starts from.
SettingsRecord DefaultSettings();

// The exact bytes SaveSettings writes for `settings`.
std::string SettingsFileText(const SettingsRecord& settings);

// Applies the lines of a settings file's bytes on top of `settings`.
void ApplySettingsFileText(const std::string& bytes, SettingsRecord& settings);

// True when `bytes` are what SaveSettings writes for some settings: the 36
// lines in their order, each with its key, each ended by CR LF, nothing after.
bool IsWholeSettingsFile(const std::string& bytes);

// The settings folder followed by "quorvel.ini".
std::string SettingsPath();

// Start-up: tidies what killed saves left beside the settings file, then
// sets Settings to the defaults and to what the settings file holds. A file
// that is there but cannot be read leaves the defaults, and no save of this
// run replaces it.
void LoadSettings();

// Rewrites the settings file whole from Settings; on failure the old file
// stays as it was, and the first failure of the run tells the user why.
void SaveSettings();
