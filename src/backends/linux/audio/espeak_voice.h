// espeak-ng's voice, played through the shared sound device: the fallback
// when speech-dispatcher cannot be reached. Each call is as the seam's
// voice functions of the same name describe.
#pragma once

#include <string>

namespace espeak_voice {

struct Voice;

// Null when espeak-ng or its voice data cannot be loaded.
Voice* CreateVoice();
void Speak(Voice* voice, const std::string& text);
void WaitUntilDone(Voice* voice);
void ReleaseVoice(Voice* voice);

}  // namespace espeak_voice
