// Who besides a file's owner may change it, by the one rule that settings
// folders and the sound module's file and folder are held to: nobody else
// may write them. A group may write only when that group holds the user
// alone, as useradd makes one for each user on Debian (files made under
// umask 002), and no access list lets anyone else in.
#pragma once

#include <sys/stat.h>

#include <string>
#include <vector>

namespace linux_files {

// True when nobody but the owner of `name` (whose status is `info`) and the
// user may write it. Whether the owner is one to trust is the caller's rule.
bool NoOtherUserMayWrite(const std::string& name, const struct stat& info);

// Who may be in a group, as the user and group databases tell it.
struct GroupMembers {
  std::string name;
  std::vector<std::string> listed;               // its member list
  std::vector<std::string> others_with_primary;  // other users whose primary group it is
};
// True when only `user` can be in the group: it bears the user's name, lists
// nobody else and is no other user's primary group, as useradd makes a
// user's own group on Debian. Only the user's primary group is asked.
bool IsPrivateGroupOf(const std::string& user, const GroupMembers& group);

}  // namespace linux_files
