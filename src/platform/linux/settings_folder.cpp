#include "platform/linux/settings_folder.h"

#include <unistd.h>

namespace linux_files {

namespace {

std::string WithSlash(const std::string& folder) {
  return !folder.empty() && folder.back() == '/' ? folder : folder + "/";
}

bool IsSystemFolder(const std::string& folder) {
  for (const char* system : {"/usr/", "/opt/", "/bin/", "/sbin/", "/lib/", "/lib64/", "/etc/"})
    if (folder.compare(0, std::char_traits<char>::length(system), system) == 0) return true;
  return false;
}

// XDG_CONFIG_HOME counts only as an absolute path.
std::string ConfigurationFolder(const char* xdg_config_home, const char* home) {
  if (xdg_config_home != nullptr && xdg_config_home[0] == '/')
    return WithSlash(xdg_config_home) + "quorvel/";
  return WithSlash(home != nullptr && home[0] == '/' ? home : "/tmp") + ".config/quorvel/";
}

}  // namespace

std::string ChooseSettingsFolder(const std::string& program_folder, const char* xdg_config_home,
                                 const char* home) {
  if (!program_folder.empty() && !IsSystemFolder(program_folder) &&
      ::access(program_folder.c_str(), W_OK) == 0)
    return program_folder;
  return ConfigurationFolder(xdg_config_home, home);
}

bool IsConfigurationFolder(const std::string& folder, const char* xdg_config_home,
                           const char* home) {
  return folder == ConfigurationFolder(xdg_config_home, home);
}

}  // namespace linux_files
