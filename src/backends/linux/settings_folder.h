// Where the Linux program keeps quorvel.ini: beside the program where that
// folder is the user's own (a portable copy), else in the configuration
// folder. A folder that someone else may write is never used: anyone could
// plant a settings file there.
#pragma once

#include <string>

#include "backends/linux/write_permission.h"
#include "platform/platform.h"

namespace linux_files {

// `program_folder` ends with "/"; the environment's XDG_CONFIG_HOME and HOME
// are passed in (null when unset). An installed program (under /usr, /opt
// and the like) always uses the configuration folder, also when run as root.
// Empty when the configuration folder is there but not the user's own, or
// when no home folder can be found.
std::string ChooseSettingsFolder(const std::string& program_folder, const char* xdg_config_home,
                                 const char* home);

// $XDG_CONFIG_HOME/quorvel/, else ~/.config/quorvel/; empty without a home.
std::string ConfigurationFolder(const char* xdg_config_home, const char* home);

// True when `folder` is the configuration folder rather than a program's.
bool IsConfigurationFolder(const std::string& folder, const char* xdg_config_home,
                           const char* home);

// kSaved when `folder` is private (see IsPrivateFolder), else what is wrong
// with it.
platform::SaveResult FolderProblem(const std::string& folder);

// True when `folder` is a folder of this user's that nobody else may write
// into, reached through no link of anyone else's. A folder its group may
// write (made under umask 002) is private when that group holds the user
// alone (see IsPrivateGroupOf) and no access list lets anyone else in.
bool IsPrivateFolder(const std::string& folder);

// Makes what is missing of `folder`, each new folder 0700 and only inside a
// folder of the user's own; true when `folder` is then private.
bool MakePrivateFolder(const std::string& folder);

}  // namespace linux_files
