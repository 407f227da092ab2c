// espeak-ng's engine as a module of its own (quorvel_espeak.so): loaded only
// for the fallback voice, so neither a phrase for speech-dispatcher nor a WAV
// file brings libespeak-ng into the process. Its one exported symbol is this
// table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "backends/linux/audio/module_stamp.h"

namespace linux_audio {

struct EspeakModule {
  ModuleStamp stamp;
  bool (*ready)();
  bool (*synthesize)(const std::string& text, std::vector<std::int16_t>& samples, int& rate);
};

// The module's file and its table's name, for dlsym.
inline constexpr char kEspeakModuleFile[] = "quorvel_espeak.so";
inline constexpr char kEspeakModuleSymbol[] = "quorvel_espeak_module";

}  // namespace linux_audio

extern "C" const linux_audio::EspeakModule quorvel_espeak_module;
