// The program's side of the sound and speech modules (audio/audio_module.h,
// audio/speechd_module.h).
#pragma once

#include <string>

namespace linux_audio {

// For the program's end: halts every sound as EndAllSound does, if the sound
// module was loaded; either way no module loads afterwards, so nothing sounds.
void EndAllSoundIfLoaded();

// Called once a run, on whichever thread first wanted to sound or speak, when
// a module it needed was not fit to load; `why` names the file and what is
// wrong with it. Each user of the loader (the program, the loader's tests)
// defines it.
void TellNoSound(const std::string& why);

}  // namespace linux_audio
