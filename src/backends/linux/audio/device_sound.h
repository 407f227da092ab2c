// WAV files decoded to the device's own format, away from the mixer: the
// decoding needs neither the open device nor the mixer's lock, so it can run
// on any thread while others play.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct Mix_Chunk;

namespace linux_audio {

struct SdlFree {
  void operator()(std::uint8_t* memory) const;
};

// Samples as the device plays them (see audio_device.h), in SDL's heap so a
// chunk can take them over. An empty one (size 0) is no sound.
struct DeviceSound {
  std::unique_ptr<std::uint8_t, SdlFree> bytes;
  std::uint32_t size = 0;
};

// The sound of a whole WAV file image; empty when SDL cannot read it, when
// it holds no samples, or when it would decode to more than kMaxSoundBytes
// (a long recording at a low rate grows many times over, a compressed one
// already in SDL's reader).
DeviceSound DecodeWav(const std::string& file);

// A chunk that owns the samples from now on; null (and the samples freed)
// when the device is not open.
Mix_Chunk* ChunkOf(DeviceSound sound);

}  // namespace linux_audio
