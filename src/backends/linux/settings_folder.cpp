#include "backends/linux/settings_folder.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

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

// Calls `read(data, size)` with ever larger buffers while it reports
// ERANGE; returns what it last reported.
template <typename Read>
int WithBuffer(std::vector<char>& buffer, Read read) {
  int error;
  while ((error = read(buffer.data(), buffer.size())) == ERANGE) buffer.resize(buffer.size() * 2);
  return error;
}

std::vector<std::string> OtherUsersWithPrimaryGroup(gid_t gid, uid_t user) {
  std::vector<std::string> others;
  std::vector<char> buffer(16384);
  passwd entry;
  passwd* found = nullptr;
  ::setpwent();
  while (WithBuffer(buffer, [&](char* data, size_t size) {
           return ::getpwent_r(&entry, data, size, &found);
         }) == 0 &&
         found != nullptr)
    if (entry.pw_gid == gid && entry.pw_uid != user) others.push_back(entry.pw_name);
  ::endpwent();
  return others;
}

// The user's primary group, when it holds the user alone.
std::optional<gid_t> PrivatePrimaryGroup(uid_t user) {
  std::vector<char> buffer(16384);
  passwd account;
  passwd* found_account = nullptr;
  if (WithBuffer(buffer, [&](char* data, size_t size) {
        return ::getpwuid_r(user, &account, data, size, &found_account);
      }) != 0 ||
      found_account == nullptr)
    return std::nullopt;
  const std::string name = account.pw_name;
  const gid_t primary = account.pw_gid;
  group entry;
  group* found_group = nullptr;
  if (WithBuffer(buffer, [&](char* data, size_t size) {
        return ::getgrgid_r(primary, &entry, data, size, &found_group);
      }) != 0 ||
      found_group == nullptr)
    return std::nullopt;
  GroupMembers members{entry.gr_name, {}, OtherUsersWithPrimaryGroup(primary, user)};
  for (char** member = entry.gr_mem; *member != nullptr; ++member)
    members.listed.push_back(*member);
  return IsPrivateGroupOf(name, members) ? std::optional<gid_t>(primary) : std::nullopt;
}

// Reading the whole user database is cheap for local users (directories
// list only those unless told to enumerate), and it is done once per user
// and run.
bool IsUsersPrivateGroup(gid_t gid) {
  static uid_t asked_for = static_cast<uid_t>(-1);
  static std::optional<gid_t> private_group;
  if (asked_for != ::geteuid()) {
    asked_for = ::geteuid();
    private_group = PrivatePrimaryGroup(asked_for);
  }
  return private_group == gid;
}

// An access list names users and groups beyond the mode's three.
bool HasAccessList(const std::string& name) {
  if (::getxattr(name.c_str(), "system.posix_acl_access", nullptr, 0) >= 0) return true;
  return errno != ENODATA && errno != ENOTSUP;  // unknown counts as there
}

bool OnlyTheUserMayWrite(const std::string& name, const struct stat& info) {
  if ((info.st_mode & S_IWOTH) != 0) return false;
  if ((info.st_mode & S_IWGRP) == 0) return true;
  // With an access list the group bits are its mask, which may let others in.
  return IsUsersPrivateGroup(info.st_gid) && !HasAccessList(name);
}

}  // namespace

bool IsPrivateGroupOf(const std::string& user, const GroupMembers& group) {
  return group.name == user && group.others_with_primary.empty() &&
         std::all_of(group.listed.begin(), group.listed.end(),
                     [&user](const std::string& member) { return member == user; });
}

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
  return OnlyTheUserMayWrite(name, info) ? SaveResult::kSaved : SaveResult::kFolderShared;
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
