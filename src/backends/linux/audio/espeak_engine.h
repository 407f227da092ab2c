// espeak-ng's engine, in its default voice: it only makes the samples of a
// phrase, which the sound device plays. Its own module (quorvel_espeak.so),
// loaded only when speech-dispatcher cannot be reached.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace espeak_engine {

// Whether the engine and its voice data could be loaded; tried once a run.
bool Ready();
// The phrase as mono signed 16-bit samples at `rate` frames a second; false,
// with nothing in `samples`, when the engine is not ready.
bool Synthesize(const std::string& text, std::vector<std::int16_t>& samples, int& rate);

}  // namespace espeak_engine
