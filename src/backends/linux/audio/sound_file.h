// Reading a sound file the user chose, which may be anything a path can
// name: a FIFO, a device, a folder, a huge or sparse file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace linux_audio {

// A sound effect is seconds long; this is over six minutes of CD sound, and
// it bounds both the file read and the samples it may decode to.
constexpr std::size_t kMaxSoundBytes = 64u << 20;

// The whole file when it is a regular file of at most kMaxSoundBytes that
// starts with a RIFF/WAVE header; nothing otherwise. Opening never waits on
// a FIFO or a device.
std::optional<std::string> ReadSoundFile(const std::string& path);

}  // namespace linux_audio
