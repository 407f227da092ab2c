#include "backends/linux/audio/speechd_module.h"

// Built with hidden symbols like the sound module: only the table is seen.
extern "C" __attribute__((visibility("default"))) const linux_audio::SpeechdModule
    quorvel_speechd_module = {
        {sizeof(linux_audio::SpeechdModule), QUORVEL_VERSION},
        dispatcher_voice::Connect,
        dispatcher_voice::Speak,
        dispatcher_voice::WaitUntilDone,
        dispatcher_voice::Disconnect,
};
