// Speech through speech-dispatcher as a module of its own
// (quorvel_speechd.so): a phrase for the daemon loads libspeechd and nothing
// of SDL or espeak-ng. The module's one exported symbol is this table.
#pragma once

#include <string>

#include "backends/linux/audio/dispatcher_voice.h"
#include "backends/linux/audio/module_stamp.h"

namespace linux_audio {

struct SpeechdModule {
  ModuleStamp stamp;
  dispatcher_voice::Connection* (*connect)();
  bool (*speak)(dispatcher_voice::Connection* connection, const std::string& text);
  bool (*wait_until_done)(dispatcher_voice::Connection* connection);
  void (*disconnect)(dispatcher_voice::Connection* connection);
};

// The module's file and its table's name, for dlsym.
inline constexpr char kSpeechdModuleFile[] = "quorvel_speechd.so";
inline constexpr char kSpeechdModuleSymbol[] = "quorvel_speechd_module";

}  // namespace linux_audio

extern "C" const linux_audio::SpeechdModule quorvel_speechd_module;
