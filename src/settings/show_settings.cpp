// PLACEHOLDER: replaced by the settings module.
#include "settings/show_settings.h"
void ShowSettings() {}
std::string SoundDisplayName(const std::string& path) { return path; }
