// File services for POSIX systems, shared by the Linux backend and the test
// fake so that both save settings the same crash-safe way.
#include "backends/posix/posix_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
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

// The replacement keeps the permissions the user gave the old file.
mode_t PermissionsFor(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return info.st_mode & 07777;
  return 0644;
}

// A temporary file is ".<leaf>.", six letters or digits from mkostemps and
// this marker: hidden, and a name nobody gives a file of their own.
constexpr char kTemporaryMarker[] = ".quorvel-save";
constexpr size_t kMarkerLength = sizeof kTemporaryMarker - 1;
constexpr size_t kUniqueLength = 6;

bool IsLetterOrDigit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Locks a fresh temporary file for the whole save, so that a start-up
// clean-up in another running copy leaves it alone. False when the name was
// removed between its creation and the lock.
bool LockAsOurs(int fd, const std::string& temporary) {
  struct stat opened, named;
  return ::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &opened) == 0 &&
         ::lstat(temporary.c_str(), &named) == 0 && posix::SameFile(opened, named);
}

}  // namespace

namespace posix {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string LeafOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

bool IsTemporaryNameOf(const std::string& name, const std::string& leaf) {
  const std::string start = "." + leaf + ".";
  if (name.size() != start.size() + kUniqueLength + kMarkerLength ||
      name.compare(0, start.size(), start) != 0 ||
      name.compare(start.size() + kUniqueLength, kMarkerLength, kTemporaryMarker) != 0)
    return false;
  for (size_t i = start.size(); i < start.size() + kUniqueLength; ++i)
    if (!IsLetterOrDigit(name[i])) return false;
  return true;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool ReadOpenFile(int fd, std::string& bytes) {
  bytes.clear();
  struct stat info;
  if (::fstat(fd, &info) != 0 || info.st_size > static_cast<off_t>(platform::kLargestReadableFile))
    return false;
  // Some files tell no true size: stop reading one byte past the limit.
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) return true;
    if (n < 0 || bytes.size() + static_cast<size_t>(n) > platform::kLargestReadableFile) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  bytes.clear();
  return false;
}

std::string LinkEnd(const std::string& path) {
  struct stat info;
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  const std::unique_ptr<char, void (*)(void*)> resolved(::realpath(path.c_str(), nullptr),
                                                        std::free);
  return resolved ? std::string(resolved.get()) : path;
}

platform::SaveResult ResultOfError(int error) {
  using platform::SaveResult;
  switch (error) {
    case EACCES:
    case EPERM:
      return SaveResult::kFolderRefused;
    case ENOENT:
      return SaveResult::kFolderMissing;
    case ENOTDIR:
      return SaveResult::kNotAFolder;
    case ELOOP:
      return SaveResult::kLinkLoop;
    case EROFS:
      return SaveResult::kReadOnlyDisk;
    case ENOSPC:
    case EDQUOT:
      return SaveResult::kDiskFull;
    default:
      return SaveResult::kDiskError;
  }
}

platform::SaveResult SaveTarget(const std::string& path, std::string& target) {
  using platform::SaveResult;
  target = path;
  struct stat info;
  if (::lstat(path.c_str(), &info) != 0)
    return errno == ENOENT ? SaveResult::kSaved : ResultOfError(errno);  // the first save
  if (S_ISLNK(info.st_mode)) {
    if (::stat(path.c_str(), &info) != 0)
      return errno == ELOOP ? SaveResult::kLinkLoop : SaveResult::kBrokenLink;
    target = LinkEnd(path);
    if (target == path) return SaveResult::kBrokenLink;  // a link in its chain went meanwhile
  }
  if (!S_ISREG(info.st_mode)) return SaveResult::kNotAFile;
  if ((info.st_mode & 0222) == 0) return SaveResult::kWriteProtected;
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0) return SaveResult::kSaved;
  return errno == EACCES ? SaveResult::kWriteProtected : ResultOfError(errno);
}

platform::SaveResult ReplaceFileAtomically(const std::string& path, const std::string& bytes) {
  using platform::SaveResult;
  std::string target;
  const SaveResult allowed = SaveTarget(path, target);
  if (allowed != SaveResult::kSaved) return allowed;
  std::string temporary = FolderOf(target) + "." + LeafOf(target) + "." +
                          std::string(kUniqueLength, 'X') + kTemporaryMarker;
  const int fd = ::mkostemps(temporary.data(), static_cast<int>(kMarkerLength), O_CLOEXEC);
  if (fd < 0) return ResultOfError(errno);
  if (!LockAsOurs(fd, temporary)) {
    ::close(fd);  // not ours to remove any more
    return SaveResult::kDiskError;
  }
  ::fchmod(fd, PermissionsFor(target));
  // Renamed while still locked: a clean-up never sees our file unlocked.
  errno = 0;
  const bool saved =
      WriteAll(fd, bytes) && ::fsync(fd) == 0 && ::rename(temporary.c_str(), target.c_str()) == 0;
  const int save_error = errno;
  if (!saved) ::unlink(temporary.c_str());
  const bool closed = ::close(fd) == 0;
  const int close_error = errno;
  if (saved) SyncFolder(FolderOf(target));
  if (!saved) return ResultOfError(save_error);
  return closed ? SaveResult::kSaved : ResultOfError(close_error);
}

}  // namespace posix

namespace platform {

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
  const bool ok =
      ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && posix::ReadOpenFile(fd, bytes);
  ::close(fd);
  return ok;
}

}  // namespace platform
