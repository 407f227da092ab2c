// The program's sound loader where the module's name, beside the test
// program, is a file that is no library: the load fails and the program goes
// on without sound or speech.
#include "backends/linux/loader/loader_test_process.h"
#include "backends/linux/audio_loader.h"
#include "platform/platform.h"

namespace {

using loader_test::InOwnProcess;

TEST(AudioLoader, WithoutAUsableModuleNothingSoundsAndNoVoiceIsMade) {
  InOwnProcess([] {
    platform::PlaySoundSync("/nonexistent.wav");
    platform::PlaySoundLoop("/nonexistent.wav");
    platform::StopSound();
    platform::EnterSpeechThread();
    if (platform::CreateVoice() != nullptr) return 1;
    platform::LeaveSpeechThread();
    platform::Beep(440, 20);
    linux_audio::EndAllSoundIfLoaded();
    return 0;
  }, "quorvel: no sound or speech: .*quorvel_audio.so");
}

}  // namespace
