// The audio backend in a process of its own, for what must be seen from
// outside: a call that hangs, memory, and the program's end.
//
//   audio_process play PATH    plays PATH to its end, as a sound effect, and
//                              prints by how many KiB its peak memory grew
//   audio_process loop PATH    loops PATH, then ends the program
//   audio_process speak TEXT   speaks TEXT on a thread of its own, then ends
//
// The ending modes wait until the device sounds (SDL_DISKAUDIOFILE grows, or
// QUORVEL_SOUNDING_FILE where speech goes to a speech-dispatcher instead),
// print the monotonic time in nanoseconds on one line, end all sound as the
// program does, and return from main, so every static is torn down after;
// with SDL's audio still running then, the exit status is 3. Every mode ends
// as glibc 2.39 and later end a process: exit() takes the lock of each open
// stream, which a library thread reading a socket through one holds.
#include <SDL.h>
#include <sys/stat.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "backends/linux/audio/audio_device.h"
#include "platform/platform.h"
#include "speech_task.h"

namespace {

bool DeviceSounds() {
  const char* sounding = std::getenv("QUORVEL_SOUNDING_FILE");
  const char* output = sounding != nullptr ? sounding : std::getenv("SDL_DISKAUDIOFILE");
  struct stat status {};
  for (int polls = 0; polls < 500; ++polls) {
    if (output != nullptr && ::stat(output, &status) == 0 && status.st_size > 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

long PeakKibibytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}

int EndWhileSounding() {
  if (!DeviceSounds()) return 2;
  struct timespec now {};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
  std::fflush(stdout);
  linux_audio::EndAllSound();
  // Nothing of SDL's audio may run into the teardown of the statics.
  return SDL_WasInit(SDL_INIT_AUDIO) == 0 ? 0 : 3;
}

// Registered first, so it runs after every handler of the program's own, as
// the C library's flush does.
void FlushEveryStreamAsExitDoes() { std::fflush(nullptr); }

}  // namespace

int main(int argc, char** argv) {
  std::atexit(FlushEveryStreamAsExitDoes);
  if (argc != 3) return 64;
  const std::string mode = argv[1];
  if (mode == "play") {
    const long before = PeakKibibytes();
    platform::PlaySoundSync(argv[2]);
    std::printf("%ld\n", PeakKibibytes() - before);
    return 0;
  }
  if (mode == "loop") {
    platform::PlaySoundLoop(argv[2]);
    return EndWhileSounding();
  }
  if (mode == "speak") {
    std::thread(SayAsASpeechTask, std::string(argv[2])).detach();
    return EndWhileSounding();
  }
  return 64;
}
