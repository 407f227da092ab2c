// Sine tones made in the program: the beeps, and the sound given for a file
// that cannot be played.
#pragma once

#include <cstdint>
#include <vector>

namespace linux_audio {

constexpr int kToneRate = 44100;

// `duration_ms` of a sine at `frequency_hz`, `level` (0 to 1) of full scale,
// at kToneRate. The edges fade in and out over a few milliseconds so the tone
// starts and stops without a click. A frequency the rate cannot carry (0, or
// half the rate and above) gives silence of that length.
std::vector<std::int16_t> Tone(unsigned frequency_hz, unsigned duration_ms, double level);

}  // namespace linux_audio
