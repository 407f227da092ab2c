#include "window/command_line.h"

#include <string>

#include "platform/platform.h"

CommandLine ReadCommandLine(int argc, char** argv) {
  CommandLine line;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--") break;  // what follows is no option
    // The window system's own options, and their values, are left to it.
    if (const int size = platform::WindowSystemOptionSize(argument)) {
      i += size - 1;
      continue;
    }
    Command command = Command::Unknown;
    if (argument == "--say-time") command = Command::SayTime;
    else if (argument == "--help" || argument == "-h") command = Command::Help;
    else if (argument == "--version") command = Command::Version;
    else if (argument.compare(0, 2, "--") != 0) continue;
    // The first option decides: "--help --bogus" still helps.
    if (line.command == Command::RunWindow) {
      line.command = command;
      if (command == Command::Unknown) line.unknown_option = argument;
    }
  }
  return line;
}

std::string HelpText() {
  return "Usage: quorvel [OPTION]\n"
         "A clock that speaks the time when it matches the rules you switch on in\n"
         "its window. Without an option, the window opens.\n"
         "\n"
         "  --say-time   speak the current time once and end, without a window\n"
         "  --help       show this help and end\n"
         "  --version    show the version and end\n";
}

std::string VersionText() { return "quorvel " QUORVEL_VERSION "\n"; }

std::string UnknownOptionText(const std::string& option) {
  return "quorvel: unknown option '" + option + "' (quorvel --help lists the options)\n";
}
