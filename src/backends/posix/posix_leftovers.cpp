// The start-up clean-up of what killed saves left: only temporary files of
// our own name pattern, and never one that a running save still holds.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "backends/posix/posix_files.h"

namespace {

// A save writes its file within milliseconds; one untouched this long was
// left by a save that died.
constexpr time_t kAbandonedAfterSeconds = 10;

struct Leftover {
  int fd;  // holds the lock, so no other start-up takes it meanwhile
  std::string name;
  struct stat info;
};

// Opened and locked when it is an abandoned temporary file of ours: a plain
// file (not a link, not linked elsewhere) of this user's, unlocked (a running
// save holds its lock to the end) and not written lately.
bool OpenIfAbandoned(int folder_fd, const std::string& name, Leftover& leftover) {
  const int fd = ::openat(folder_fd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat& info = leftover.info;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1 &&
      info.st_uid == ::geteuid() && std::time(nullptr) - info.st_mtime >= kAbandonedAfterSeconds &&
      ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    leftover.fd = fd;
    leftover.name = name;
    return true;
  }
  ::close(fd);
  return false;
}

// True when the name still stands for the file we hold, not for one that a
// save renamed into its place meanwhile.
bool StillNamed(int folder_fd, const Leftover& leftover) {
  struct stat named;
  return ::fstatat(folder_fd, leftover.name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
         posix::SameFile(leftover.info, named);
}

// Gives the newest whole leftover the target's name; never replaces a file
// that has appeared there meanwhile.
bool RestoreNewestWhole(int folder_fd, std::vector<Leftover>& leftovers, const std::string& leaf,
                        platform::WholeFileTest is_whole) {
  std::sort(leftovers.begin(), leftovers.end(), [](const Leftover& a, const Leftover& b) {
    return a.info.st_mtim.tv_sec != b.info.st_mtim.tv_sec
               ? a.info.st_mtim.tv_sec > b.info.st_mtim.tv_sec
               : a.info.st_mtim.tv_nsec > b.info.st_mtim.tv_nsec;
  });
  for (const Leftover& leftover : leftovers) {
    std::string bytes;
    if (posix::ReadOpenFile(leftover.fd, bytes) && is_whole(bytes) &&
        StillNamed(folder_fd, leftover))
      return ::linkat(folder_fd, leftover.name.c_str(), folder_fd, leaf.c_str(), 0) == 0;
  }
  return false;
}

}  // namespace

namespace platform {

void RemoveAbandonedSaves(const std::string& path, WholeFileTest is_whole) {
  // Saves through a link write beside the file it points to.
  const std::string target = posix::LinkEnd(path);
  const std::string folder = posix::FolderOf(target);
  const std::string leaf = posix::LeafOf(target);
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return;
  const int folder_fd = ::dirfd(listing);
  std::vector<Leftover> leftovers;
  while (const dirent* entry = ::readdir(listing)) {
    Leftover leftover;
    if (posix::IsTemporaryNameOf(entry->d_name, leaf) &&
        OpenIfAbandoned(folder_fd, entry->d_name, leftover))
      leftovers.push_back(leftover);
  }
  // A link that leads nowhere or in a circle is no settings file: while there
  // is none, a leftover may be the only copy of the settings.
  struct stat info;
  bool target_exists = ::fstatat(folder_fd, leaf.c_str(), &info, 0) == 0;
  if (!target_exists && RestoreNewestWhole(folder_fd, leftovers, leaf, is_whole)) {
    posix::SyncFolder(folder);
    target_exists = true;
  }
  for (const Leftover& leftover : leftovers) {
    if (target_exists && StillNamed(folder_fd, leftover))
      ::unlinkat(folder_fd, leftover.name.c_str(), 0);
    ::close(leftover.fd);
  }
  ::closedir(listing);
}

}  // namespace platform
