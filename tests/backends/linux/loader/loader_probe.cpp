// Sounds and ends as the program would, then prints whether the sound module
// beside it was mapped: the trust test runs copies of it in folders of every
// kind.
#include <cstdio>

#include "backends/linux/audio_loader.h"
#include "backends/linux/loader/mapped.h"
#include "platform/platform.h"

int main() {
  platform::Beep(440, 20);
  platform::PlaySoundSync("/nonexistent.wav");
  platform::Beep(440, 20);
  linux_audio::EndAllSoundIfLoaded();
  std::puts(loader_test::Mapped("quorvel_audio") ? "mapped" : "not mapped");
  return 0;
}
