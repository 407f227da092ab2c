#include "window/start_up.h"

#include "platform/platform.h"
#include "settings/settings_file.h"
#include "settings/show_settings.h"

int RunQuorvel(int argc, char** argv) {
  platform::StartWindowSystem(argc, argv);
  platform::BuildMainWindow();
  LoadSettings();
  ShowSettings();  // before the window handles its first message
  platform::RunMainWindow();
  platform::ReleaseWindowResources();
  return 0;
}
