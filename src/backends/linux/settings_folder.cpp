#include "backends/linux/settings_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "backends/linux/write_permission.h"
#include "backends/posix/posix_files.h"

namespace linux_files {

namespace {

std::string WithSlash(const std::string& folder) {
  return !folder.empty() && folder.back() == '/' ? folder : folder + "/";
}

std::string WithoutSlash(const std::string& folder) {
  return folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
}

bool IsSystemFolder(const std::string& folder) {
  for (const char* system : {"/usr/", "/opt/", "/bin/", "/sbin/", "/lib/", "/lib64/", "/etc/"})
    if (folder.compare(0, std::char_traits<char>::length(system), system) == 0) return true;
  return false;
}

// HOME when it is an absolute path, else what the user database says; never
// a shared folder such as /tmp.
std::string HomeFolder(const char* home) {
  if (home != nullptr && home[0] == '/') return home;
  const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(suggested > 0 ? static_cast<size_t>(suggested) : 16384);
  passwd entry;
  passwd* found = nullptr;
  while (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE)
    buffer.resize(buffer.size() * 2);
  return found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/' ? found->pw_dir
                                                                                 : "";
}

bool IsOwnFolder(const struct stat& info) {
  return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid();
}

}  // namespace

platform::SaveResult FolderProblem(const std::string& folder) {
  using platform::SaveResult;
  const std::string name = WithoutSlash(folder);
  struct stat named, info;
  if (::lstat(name.c_str(), &named) != 0)
    return errno == ENOENT ? SaveResult::kFolderMissing : posix::ResultOfError(errno);
  if (::stat(name.c_str(), &info) != 0) return SaveResult::kNotAFolder;  // a link to nowhere
  if (S_ISLNK(named.st_mode) && named.st_uid != ::geteuid()) return SaveResult::kFolderNotOwn;
  if (!S_ISDIR(info.st_mode)) return SaveResult::kNotAFolder;
  if (info.st_uid != ::geteuid()) return SaveResult::kFolderNotOwn;
  return NoOtherUserMayWrite(name, info) ? SaveResult::kSaved : SaveResult::kFolderShared;
}

bool IsPrivateFolder(const std::string& folder) {
  return FolderProblem(folder) == platform::SaveResult::kSaved;
}

namespace {

// Makes what is missing of `name`, 0700, each inside a folder of the user's.
bool MakeOwnFolder(const std::string& name) {
  struct stat info;
  if (::lstat(name.c_str(), &info) != 0 && errno == ENOENT) {
    const size_t slash = name.find_last_of('/');
    if (slash == std::string::npos || slash == 0 || !MakeOwnFolder(name.substr(0, slash)))
      return false;
    if (::mkdir(name.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return ::stat(name.c_str(), &info) == 0 && IsOwnFolder(info);
}

}  // namespace

bool MakePrivateFolder(const std::string& folder) {
  const std::string name = WithoutSlash(folder);
  return MakeOwnFolder(name) && IsPrivateFolder(name);
}

std::string ChooseSettingsFolder(const std::string& program_folder, const char* xdg_config_home,
                                 const char* home) {
  if (!program_folder.empty() && !IsSystemFolder(program_folder) &&
      IsPrivateFolder(program_folder) && ::access(program_folder.c_str(), W_OK) == 0)
    return program_folder;
  const std::string configuration = ConfigurationFolder(xdg_config_home, home);
  struct stat info;
  const bool there =
      !configuration.empty() && ::lstat(WithoutSlash(configuration).c_str(), &info) == 0;
  return there && !IsPrivateFolder(configuration) ? "" : configuration;
}

// XDG_CONFIG_HOME counts only as an absolute path.
std::string ConfigurationFolder(const char* xdg_config_home, const char* home) {
  if (xdg_config_home != nullptr && xdg_config_home[0] == '/')
    return WithSlash(xdg_config_home) + "quorvel/";
  const std::string home_folder = HomeFolder(home);
  return home_folder.empty() ? "" : WithSlash(home_folder) + ".config/quorvel/";
}

bool IsConfigurationFolder(const std::string& folder, const char* xdg_config_home,
                           const char* home) {
  return !folder.empty() && folder == ConfigurationFolder(xdg_config_home, home);
}

}  // namespace linux_files
