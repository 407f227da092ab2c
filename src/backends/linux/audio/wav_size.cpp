#include "backends/linux/audio/wav_size.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace linux_audio {

namespace {

enum : std::uint16_t {
  kPcm = 0x0001,
  kMsAdpcm = 0x0002,
  kFloat = 0x0003,
  kALaw = 0x0006,
  kMuLaw = 0x0007,
  kImaAdpcm = 0x0011,
  kExtensible = 0xFFFE,
};

std::uint32_t Little(const std::string& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

struct Format {
  std::uint16_t tag = 0, channels = 0, block_align = 0, bits = 0, frames_per_block = 0;
};

Format ReadFormat(const std::string& file, std::size_t at, std::uint32_t size) {
  Format format;
  if (size < 16) return format;
  format.tag = static_cast<std::uint16_t>(Little(file, at, 2));
  format.channels = static_cast<std::uint16_t>(Little(file, at + 2, 2));
  format.block_align = static_cast<std::uint16_t>(Little(file, at + 12, 2));
  format.bits = static_cast<std::uint16_t>(Little(file, at + 14, 2));
  if (size >= 20) format.frames_per_block = static_cast<std::uint16_t>(Little(file, at + 18, 2));
  if (format.tag == kExtensible && size >= 26)
    format.tag = static_cast<std::uint16_t>(Little(file, at + 24, 2));
  return format;
}

// Bytes per decoded sample: SDL widens 24-bit PCM to 32 and decodes the
// compressed formats to 16.
std::uint64_t DecodedSampleBytes(const Format& format) {
  switch (format.tag) {
    case kPcm: return format.bits == 24 ? 4 : (format.bits + 7u) / 8;
    case kFloat: return 4;
    default: return 2;
  }
}

std::uint64_t DecodedBytes(const Format& format, std::uint64_t data) {
  if (format.channels == 0 || format.block_align == 0) return 0;
  const std::uint64_t blocks = (data + format.block_align - 1) / format.block_align;
  std::uint64_t frames = 0;
  switch (format.tag) {
    case kPcm: case kFloat: case kALaw: case kMuLaw:
      frames = blocks;
      break;
    case kMsAdpcm: case kImaAdpcm:
      frames = blocks * format.frames_per_block;
      break;
    default:
      return 0;
  }
  return frames * format.channels * DecodedSampleBytes(format);
}

}  // namespace

std::uint64_t DecodedWavBytes(const std::string& file) {
  Format format;
  // The chunks after "RIFF", its size and "WAVE", each padded to an even size.
  for (std::size_t at = 12; at + 8 <= file.size();) {
    const std::string id = file.substr(at, 4);
    const std::uint32_t size = Little(file, at + 4, 4);
    const std::size_t body = at + 8;
    const std::uint64_t present = std::min<std::uint64_t>(size, file.size() - body);
    if (id == "fmt ") format = ReadFormat(file, body, static_cast<std::uint32_t>(present));
    if (id == "data") return DecodedBytes(format, present);
    at = body + size + (size & 1u);
  }
  return 0;
}

}  // namespace linux_audio
