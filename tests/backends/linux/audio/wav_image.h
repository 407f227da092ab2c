// A WAV file image of samples made in the tests, to be written where a sound
// file is expected.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace linux_audio {

// A whole WAV file holding `samples`: mono, signed 16-bit, `rate` frames a second.
std::string WavImage(const std::vector<std::int16_t>& samples, int rate);

}  // namespace linux_audio
