// Where the Linux program keeps quorvel.ini: beside the program where the
// user may write there (a portable copy), else in the configuration folder.
#pragma once

#include <string>

namespace linux_files {

// `program_folder` ends with "/"; the environment's XDG_CONFIG_HOME and HOME
// are passed in (null when unset). An installed program (under /usr, /opt
// and the like) always uses the configuration folder, also when run as root.
std::string ChooseSettingsFolder(const std::string& program_folder, const char* xdg_config_home,
                                 const char* home);

// True when `folder` is the configuration folder rather than a program's.
bool IsConfigurationFolder(const std::string& folder, const char* xdg_config_home,
                           const char* home);

}  // namespace linux_files
