// Shared set-up for tests that drive the main window through the fake.
#pragma once

#include <string>

#include "announce/announcer.h"
#include "announce/speech.h"
#include "fake/fake_platform.h"
#include "platform/platform.h"
#include "rules/local_time.h"
#include "window/clock_tick.h"
#include "rules/hover_display.h"
#include "settings/settings_file.h"
#include "window/main_window_proc.h"

// A built window showing the default settings, and no file on disk yet.
inline void StartWithFreshWindow() {
  fake::Reset();
  Settings = DefaultSettings();
  ResetClockTick();
  HoverControl = 0;
  SavedFocus = 0;
  SpeechBusyCount = 0;
  platform::BuildMainWindow();
  fake::ClearCalls();
}

inline std::string SettingsFileOnDisk() {
  std::string bytes;
  platform::ReadWholeFile(SettingsPath(), bytes);
  return bytes;
}

// A user's click on a control: the control toggles itself, then reports.
inline void Click(int control_id) { OnClick(control_id); }
