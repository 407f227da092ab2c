// Sound decoded to the device's own format, away from the device: the
// decoding needs neither the open device nor its lock, so it can run on any
// thread while others play.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace linux_audio {

// The device's format, whatever the hardware's (SDL converts on the way out),
// so sound can be decoded for it before the device opens: signed 16-bit
// native-endian, interleaved stereo. The disk driver writes exactly this.
constexpr int kDeviceRate = 44100;
constexpr int kDeviceChannels = 2;

struct SdlFree {
  void operator()(std::uint8_t* memory) const;
};

// Samples as the device plays them, in SDL's heap. An empty one (size 0) is
// no sound.
struct DeviceSound {
  std::unique_ptr<std::uint8_t, SdlFree> bytes;
  std::uint32_t size = 0;
};

// The sound of a whole WAV file image; empty when SDL cannot read it, when
// it holds no samples, or when it would decode to more than kMaxSoundBytes
// (a long recording at a low rate grows many times over, a compressed one
// already in SDL's reader).
DeviceSound DecodeWav(const std::string& file);

// Mono signed 16-bit samples at `rate` frames a second (speech, tones);
// empty when SDL cannot convert them.
DeviceSound PcmSound(const std::vector<std::int16_t>& samples, int rate);

}  // namespace linux_audio
