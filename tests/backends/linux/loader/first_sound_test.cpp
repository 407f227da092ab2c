// The program's sound loader with the real module beside the test program:
// it loads with the first sound, not before, and not after the program's end.
#include "backends/linux/loader/loader_test_process.h"
#include "backends/linux/audio_loader.h"
#include "platform/platform.h"

namespace {

using loader_test::InOwnProcess;
using loader_test::Mapped;

TEST(AudioLoader, LoadsTheModuleBesideTheProgramWithTheFirstSoundAndNotBefore) {
  InOwnProcess([] {
    if (Mapped("quorvel_audio.so") || Mapped("libSDL2")) return 1;
    platform::StopSound();  // nothing can sound yet: nothing to load for
    if (Mapped("quorvel_audio.so")) return 2;
    platform::Beep(440, 20);
    if (!Mapped("quorvel_audio.so") || !Mapped("libSDL2")) return 3;
    linux_audio::EndAllSoundIfLoaded();
    return 0;
  });
}

TEST(AudioLoader, NothingLoadsOnceTheProgramHasEndedItsSound) {
  InOwnProcess([] {
    linux_audio::EndAllSoundIfLoaded();
    platform::Beep(440, 20);
    if (platform::CreateVoice() != nullptr) return 1;
    return Mapped("quorvel_audio.so") ? 2 : 0;
  });
}

}  // namespace
