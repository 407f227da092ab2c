// The program's side of the sound and speech module (audio/audio_module.h).
#pragma once

namespace linux_audio {

// For the program's end: halts every sound as EndAllSound does, if the module
// was loaded; either way nothing loads it afterwards, so nothing sounds.
void EndAllSoundIfLoaded();

}  // namespace linux_audio
