#include "window/start_up.h"

#include "platform/platform.h"
#include "settings/settings_file.h"
#include "settings/show_settings.h"
#include "window/command_line.h"
#include "window/say_time.h"

namespace {

int RunWindow(int argc, char** argv) {
  platform::StartWindowSystem(argc, argv);
  platform::BuildMainWindow();
  LoadSettings();
  ShowSettings();  // before the window handles its first message
  platform::RunMainWindow();
  platform::ReleaseWindowResources();
  return 0;
}

}  // namespace

int RunQuorvel(int argc, char** argv) {
  const CommandLine line = ReadCommandLine(argc, argv);
  switch (line.command) {
    case Command::RunWindow:
      return RunWindow(argc, argv);
    case Command::SayTime:
      if (SayTimeNow()) return 0;
      platform::PrintAnswer("quorvel: no voice could speak the time\n", true);
      return 1;
    case Command::Help:
      platform::PrintAnswer(HelpText(), false);
      return 0;
    case Command::Version:
      platform::PrintAnswer(VersionText(), false);
      return 0;
    case Command::Unknown:
      break;
  }
  platform::PrintAnswer(UnknownOptionText(line.unknown_option), true);
  return 2;  // a usage error, as command-line programs report it
}
