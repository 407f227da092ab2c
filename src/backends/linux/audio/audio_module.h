// Sound through SDL2 as a module of its own (quorvel_audio.so), which the
// program loads only when it first plays a file, a beep or the fallback
// voice's samples: its libraries cost nothing until then. The module's one
// exported symbol is this table.
#pragma once

#include <string>

#include "backends/linux/audio/audio_device.h"
#include "backends/linux/audio/module_stamp.h"

namespace linux_audio {

struct AudioModule {
  ModuleStamp stamp;
  void (*play_sound_sync)(const std::string& path);
  void (*play_sound_loop)(const std::string& path);
  void (*stop_sound)();
  void (*leave_speech_thread)();
  Playing (*start_samples)(const std::vector<std::int16_t>& samples, int rate);
  void (*await_sound)(Playing& playing);
  void (*halt_sound)(Playing& playing);
  void (*beep)(unsigned frequency_hz, unsigned duration_ms);
  void (*end_all_sound)();
};

// The module's file and its table's name, for dlsym.
inline constexpr char kAudioModuleFile[] = "quorvel_audio.so";
inline constexpr char kAudioModuleSymbol[] = "quorvel_audio_module";

}  // namespace linux_audio

extern "C" const linux_audio::AudioModule quorvel_audio_module;
