// The program's side of the sound and speech module (audio/audio_module.h).
#pragma once

#include <string>

namespace linux_audio {

// For the program's end: halts every sound as EndAllSound does, if the module
// was loaded; either way nothing loads it afterwards, so nothing sounds.
void EndAllSoundIfLoaded();

// Called once, on whichever thread first wanted to sound, when no module fit
// to load was found; `why` names the file and what is wrong with it. Each
// user of the loader (the program, the loader's tests) defines it.
void TellNoSound(const std::string& why);

}  // namespace linux_audio
