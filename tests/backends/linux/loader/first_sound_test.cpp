// The program's sound loader with the real modules beside the test program:
// each loads with the first sound that needs it, not before, and not after
// the program's end.
#include <memory>
#include <vector>

#include "backends/linux/audio/private_dispatcher.h"
#include "backends/linux/audio/speech_task.h"
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

// Speech through the daemon needs libspeechd alone; SDL comes with the first
// file, beep or phrase the daemon cannot take, and espeak-ng with that phrase.
TEST(AudioLoader, LoadsOnlyWhatTheFirstSoundNeeds) {
  const struct Row {
    const char* name;
    const char* daemon_setup;  // null: no daemon is set up
    bool speaks;               // else plays a file
    std::vector<const char*> mapped, not_mapped;
  } rows[] = {
      {"speech through speech-dispatcher", "", true,
       {"quorvel_speechd.so", "libspeechd"},
       {"quorvel_audio.so", "libSDL2", "quorvel_espeak.so", "libespeak-ng"}},
      {"speech with a daemon that may not start", "DisableAutoSpawn", true,
       {"quorvel_speechd.so", "quorvel_audio.so", "libSDL2", "quorvel_espeak.so", "libespeak-ng"},
       {}},
      {"a sound file", nullptr, false,
       {"quorvel_audio.so", "libSDL2"},
       {"quorvel_speechd.so", "libspeechd", "quorvel_espeak.so", "libespeak-ng"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    InOwnProcess([&row] {
      int failed = 0;
      {
        std::unique_ptr<PrivateDispatcher> daemon;
        if (row.daemon_setup != nullptr)
          daemon = std::make_unique<PrivateDispatcher>(PrivateDispatcher::Setup{row.daemon_setup});
        if (!row.speaks) platform::PlaySoundSync("/nonexistent.wav");  // the default tone
        if (row.speaks && !SayAsASpeechTask("1 2 3 4")) failed = 1;
        if (row.daemon_setup != nullptr && row.daemon_setup[0] == '\0' &&
            daemon->Spoken().size() != 1)
          failed = 2;
        int expectation = 10;
        for (const char* library : row.mapped) failed = Mapped(library) ? failed : expectation++;
        expectation = 20;
        for (const char* library : row.not_mapped) failed = Mapped(library) ? expectation++ : failed;
        linux_audio::EndAllSoundIfLoaded();
      }
      return failed;
    });
  }
}

TEST(AudioLoader, NothingLoadsOnceTheProgramHasEndedItsSound) {
  InOwnProcess([] {
    linux_audio::EndAllSoundIfLoaded();
    platform::Beep(440, 20);
    if (platform::CreateVoice() != nullptr) return 1;
    return Mapped("quorvel_audio.so") || Mapped("quorvel_speechd.so") ||
                   Mapped("quorvel_espeak.so")
               ? 2
               : 0;
  });
}

}  // namespace
