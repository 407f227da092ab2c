// A phrase said as one of the program's speech tasks says it, on the calling
// thread: enter, make a voice, speak, wait until it is done, leave.
#pragma once

#include <string>

#include "platform/platform.h"

// False when no voice could be made (then nothing was said).
inline bool SayAsASpeechTask(const std::string& phrase) {
  platform::EnterSpeechThread();
  platform::Voice* voice = platform::CreateVoice();
  platform::Speak(voice, phrase);
  platform::WaitUntilDone(voice);
  platform::ReleaseVoice(voice);
  platform::LeaveSpeechThread();
  return voice != nullptr;
}
