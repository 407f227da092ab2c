// What the program is asked to do by its command line.
#pragma once

#include <string>

enum class Command { RunWindow, SayTime, Help, Version, Unknown };

struct CommandLine {
  Command command = Command::RunWindow;
  std::string unknown_option;  // the first option not understood
};

// Reads the options that are Quorvel's own ("--" options, and "-h"), up to a
// lone "--". The window system's own options (Qt's "-platform offscreen" or
// "--platform offscreen", say) and every other argument are left to it.
CommandLine ReadCommandLine(int argc, char** argv);

// The texts printed for --help, --version and an unknown option.
std::string HelpText();
std::string VersionText();
std::string UnknownOptionText(const std::string& option);
