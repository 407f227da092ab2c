#include "backends/linux/audio/espeak_module.h"

#include "backends/linux/audio/espeak_engine.h"

// Built with hidden symbols like the sound module: only the table is seen.
extern "C" __attribute__((visibility("default"))) const linux_audio::EspeakModule
    quorvel_espeak_module = {
        {sizeof(linux_audio::EspeakModule), QUORVEL_VERSION},
        espeak_engine::Ready,
        espeak_engine::Synthesize,
};
