// A sound module as another version of Quorvel would have built it: its
// entry points are null, so a loader that called one would crash.
#include "backends/linux/audio/audio_module.h"

namespace {

linux_audio::AudioModule OtherBuildsTable() {
  linux_audio::AudioModule table{};
  table.stamp = {sizeof(linux_audio::AudioModule), "0.9.0"};
  return table;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) const linux_audio::AudioModule
    quorvel_audio_module = OtherBuildsTable();
