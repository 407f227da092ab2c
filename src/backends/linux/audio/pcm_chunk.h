// Sound made in the program (speech, tones) handed to the mixer as a WAV
// image, so the mixer's own loader converts it to the device's format.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Mix_Chunk;

namespace linux_audio {

// A whole WAV file holding `samples`: mono, signed 16-bit, `rate` frames a second.
std::string WavImage(const std::vector<std::int16_t>& samples, int rate);

// `samples` in the open device's format; null when the mixer refuses them.
Mix_Chunk* ChunkFromPcm(const std::vector<std::int16_t>& samples, int rate);

}  // namespace linux_audio
