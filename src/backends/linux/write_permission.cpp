#include "backends/linux/write_permission.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

namespace linux_files {

namespace {

// Calls `read(data, size)` with ever larger buffers while it reports
// ERANGE; returns what it last reported.
template <typename Read>
int WithBuffer(std::vector<char>& buffer, Read read) {
  int error;
  while ((error = read(buffer.data(), buffer.size())) == ERANGE) buffer.resize(buffer.size() * 2);
  return error;
}

// Looks `key` up with a reentrant getpwuid_r-like call; false when it
// failed or found no entry.
template <typename Key, typename Entry>
bool LookUp(int (*get)(Key, Entry*, char*, size_t, Entry**), Key key, Entry& entry,
            std::vector<char>& buffer) {
  Entry* found = nullptr;
  return WithBuffer(buffer, [&](char* data, size_t size) {
           return get(key, &entry, data, size, &found);
         }) == 0 &&
         found != nullptr;
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
  if (!LookUp(::getpwuid_r, user, account, buffer)) return std::nullopt;
  const std::string name = account.pw_name;
  const gid_t primary = account.pw_gid;
  group entry;
  if (!LookUp(::getgrgid_r, primary, entry, buffer)) return std::nullopt;
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

}  // namespace

bool NoOtherUserMayWrite(const std::string& name, const struct stat& info) {
  if ((info.st_mode & S_IWOTH) != 0) return false;
  if ((info.st_mode & S_IWGRP) == 0) return true;
  // With an access list the group bits are its mask, which may let others in.
  return IsUsersPrivateGroup(info.st_gid) && !HasAccessList(name);
}

bool IsPrivateGroupOf(const std::string& user, const GroupMembers& group) {
  return group.name == user && group.others_with_primary.empty() &&
         std::all_of(group.listed.begin(), group.listed.end(),
                     [&user](const std::string& member) { return member == user; });
}

}  // namespace linux_files
