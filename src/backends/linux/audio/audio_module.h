// The sound and speech backend as a module of its own, which the program
// loads only when it first sounds: its libraries (SDL2, SDL2_mixer with its
// decoders, espeak-ng, speech-dispatcher's) then cost nothing until needed.
// The module's one exported symbol is this table of its entry points.
#pragma once

#include <cstddef>
#include <string>

#include "platform/platform.h"

namespace linux_audio {

struct AudioModule {
  // Checked before anything else is called: a module of another build (a
  // package upgraded while the clock runs) may have another table.
  std::size_t size;
  const char* version;
  void (*play_sound_sync)(const std::string& path);
  void (*play_sound_loop)(const std::string& path);
  void (*stop_sound)();
  void (*enter_speech_thread)();
  void (*leave_speech_thread)();
  platform::Voice* (*create_voice)();
  void (*speak)(platform::Voice* voice, const std::string& text);
  void (*wait_until_done)(platform::Voice* voice);
  void (*release_voice)(platform::Voice* voice);
  void (*beep)(unsigned frequency_hz, unsigned duration_ms);
  void (*end_all_sound)();
};

// The table's name in the module, for dlsym.
inline constexpr char kAudioModuleSymbol[] = "quorvel_audio_module";

}  // namespace linux_audio

extern "C" const linux_audio::AudioModule quorvel_audio_module;
