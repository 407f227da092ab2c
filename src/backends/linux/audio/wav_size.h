// What a WAV file decodes to, read from its header alone: compressed formats
// (ADPCM, A-law, mu-law) grow several times when SDL decodes them, and the
// bound on decoded samples must hold before that memory is taken.
#pragma once

#include <cstdint>
#include <string>

namespace linux_audio {

// The bytes of samples SDL's WAV reader makes of `file`; 0 when its header
// does not say (SDL then refuses the file anyway).
std::uint64_t DecodedWavBytes(const std::string& file);

}  // namespace linux_audio
