// File services for POSIX systems, shared by the Linux backend and the test
// fake so that both save settings the same crash-safe way.
#include "platform/posix/posix_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/platform.h"

namespace {

bool WriteAll(int fd, const std::string& bytes) {
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += static_cast<size_t>(n);
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

// Makes a rename durable: without this a power cut may bring back the old name.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The replacement keeps the permissions the user gave the old file.
mode_t PermissionsFor(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return info.st_mode & 07777;
  return 0644;
}

// mkstemp's pattern: the target's name, a dot and six letters or digits.
constexpr char kTemporarySuffix[] = ".XXXXXX";
constexpr size_t kTemporarySuffixLength = sizeof kTemporarySuffix - 1;

bool IsTemporaryNameOf(const std::string& name, const std::string& target) {
  if (name.size() != target.size() + kTemporarySuffixLength ||
      name.compare(0, target.size() + 1, target + ".") != 0)
    return false;
  for (size_t i = target.size() + 1; i < name.size(); ++i) {
    const char c = name[i];
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A temporary file whose save still runs is locked by that save; one we can
// lock was left by a save that died, unless it has been renamed meanwhile.
void RemoveIfAbandoned(int folder_fd, const char* name) {
  const int fd = ::openat(folder_fd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat opened, named;
  if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
      ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
      ::fstatat(folder_fd, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(opened, named))
    ::unlinkat(folder_fd, name, 0);
  ::close(fd);
}

// Locks a fresh temporary file for the whole save, so that a start-up
// clean-up in another running copy leaves it alone. False when the name was
// removed between its creation and the lock.
bool LockAsOurs(int fd, const std::string& temporary) {
  struct stat opened, named;
  return ::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &opened) == 0 &&
         ::stat(temporary.c_str(), &named) == 0 && SameFile(opened, named);
}

}  // namespace

namespace platform {

void RemoveAbandonedSaves(const std::string& path) {
  const std::string folder = FolderOf(path);
  const std::string target = path.substr(path.find_last_of('/') + 1);
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return;
  const int folder_fd = ::dirfd(listing);
  while (const dirent* entry = ::readdir(listing))
    if (IsTemporaryNameOf(entry->d_name, target)) RemoveIfAbandoned(folder_fd, entry->d_name);
  ::closedir(listing);
}

bool IsOrdinaryFile(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  const size_t slash = path.find_last_of('/');
  const size_t name = slash == std::string::npos ? 0 : slash + 1;
  return name >= path.size() || path[name] != '.';  // dot files are the hidden ones here
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  // Non-blocking so that a FIFO put in the file's place cannot hang the
  // caller; only ordinary files are read.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return false;
  }
  char buffer[65536];
  bool ok = true;
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  if (!ok) bytes.clear();
  return ok;
}

}  // namespace platform

namespace posix {

bool ReplaceFileAtomically(const std::string& path, const std::string& bytes) {
  std::string temporary = path + kTemporarySuffix;
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  if (!LockAsOurs(fd, temporary)) {
    ::close(fd);  // not ours to remove any more
    return false;
  }
  ::fchmod(fd, PermissionsFor(path));
  // Renamed while still locked: a clean-up never sees our file unlocked.
  const bool saved = WriteAll(fd, bytes) && ::fsync(fd) == 0 &&
                     ::rename(temporary.c_str(), path.c_str()) == 0;
  if (!saved) ::unlink(temporary.c_str());
  const bool closed = ::close(fd) == 0;
  if (saved) SyncFolder(FolderOf(path));
  return saved && closed;
}

}  // namespace posix
