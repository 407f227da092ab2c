#include "backends/linux/audio/sound_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace linux_audio {

namespace {

// False when the file ends (it shrank) or fails before `bytes` is full.
bool ReadFully(int fd, std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd, &bytes[done], bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<std::size_t>(got);
  }
  return true;
}

bool HasWavHeader(const std::string& bytes) {
  return bytes.size() >= 12 && bytes.compare(0, 4, "RIFF") == 0 &&
         bytes.compare(8, 4, "WAVE") == 0;
}

}  // namespace

std::optional<std::string> ReadSoundFile(const std::string& path) {
  // Without O_NONBLOCK a FIFO waits in the open for a writer; with it, what
  // is opened is looked at first and a regular file reads as usual.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> sound;
  struct stat status {};
  if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
      static_cast<unsigned long long>(status.st_size) <= kMaxSoundBytes) {
    std::string bytes(static_cast<std::size_t>(status.st_size), '\0');
    if (ReadFully(fd, bytes) && HasWavHeader(bytes)) sound = std::move(bytes);
  }
  ::close(fd);
  return sound;
}

}  // namespace linux_audio
