#include "announce/sound_task.h"

#include "announce/started_thread.h"
#include "platform/platform.h"

std::atomic<int> SoundBusyCount{0};

namespace {

void PlaySound(std::string path) {
  platform::PlaySoundSync(path);
  SoundBusyCount -= 1;
}

}  // namespace

void StartSoundTask(const std::string& path) {
  // Counted before the start, so the clock sees it busy at once.
  SoundBusyCount += 1;
  platform::Thread* thread = platform::StartThread(PlaySound, path);
  if (thread == nullptr)
    PlaySound(path);  // late is better than silent
  else
    LetStartedThreadRun(thread);
}
