#include "backends/linux/audio/audio_module.h"

#include "backends/linux/audio/audio_device.h"
#include "platform/platform.h"

// The backend is built with hidden symbols, so that inside the module its
// calls stay its own; only the table is seen from outside.
extern "C" __attribute__((visibility("default"))) const linux_audio::AudioModule quorvel_audio_module = {
    {sizeof(linux_audio::AudioModule), QUORVEL_VERSION},
    platform::PlaySoundSync,
    platform::PlaySoundLoop,
    platform::StopSound,
    platform::LeaveSpeechThread,
    linux_audio::StartSamples,
    linux_audio::AwaitSound,
    linux_audio::HaltSound,
    platform::Beep,
    linux_audio::EndAllSound,
};
