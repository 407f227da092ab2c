#include "settings/settings.h"

SettingsRecord Settings;
