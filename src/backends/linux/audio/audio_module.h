// Sound through SDL2, and espeak-ng's voice through it, as a module of its
// own (quorvel_audio.so), which the program loads only when it first plays a
// file or a beep or needs the fallback voice: its libraries cost nothing
// until then. The module's one exported symbol is this table.
#pragma once

#include <string>

#include "backends/linux/audio/espeak_voice.h"
#include "backends/linux/audio/module_stamp.h"

namespace linux_audio {

struct AudioModule {
  ModuleStamp stamp;
  void (*play_sound_sync)(const std::string& path);
  void (*play_sound_loop)(const std::string& path);
  void (*stop_sound)();
  void (*leave_speech_thread)();
  espeak_voice::Voice* (*create_espeak_voice)();
  void (*speak_espeak)(espeak_voice::Voice* voice, const std::string& text);
  void (*wait_espeak)(espeak_voice::Voice* voice);
  void (*release_espeak)(espeak_voice::Voice* voice);
  void (*beep)(unsigned frequency_hz, unsigned duration_ms);
  void (*end_all_sound)();
};

// The module's file and its table's name, for dlsym.
inline constexpr char kAudioModuleFile[] = "quorvel_audio.so";
inline constexpr char kAudioModuleSymbol[] = "quorvel_audio_module";

}  // namespace linux_audio

extern "C" const linux_audio::AudioModule quorvel_audio_module;
