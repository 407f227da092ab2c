// The loader's tests stand for the program's notice with its stderr line.
#include <cstdio>
#include <string>

#include "backends/linux/audio_loader.h"

void linux_audio::TellNoSound(const std::string& why) {
  std::fprintf(stderr, "quorvel: no sound or speech: %s\n", why.c_str());
}
