// PLACEHOLDER: replaced by the settings module.
#include "settings/settings_file.h"
SettingsRecord DefaultSettings() { return {}; }
std::string SettingsFileText(const SettingsRecord&) { return {}; }
void ApplySettingsFileText(const std::string&, SettingsRecord&) {}
std::string SettingsPath() { return {}; }
void LoadSettings() {}
void SaveSettings() {}
