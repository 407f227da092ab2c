// Saves the settings over and over, through the real core and the POSIX file
// code, until it is killed. Usage: quorvel_save_loop FOLDER FIRST_GENERATION.
// After each save it prints the number of the generation now complete on
// disk, so whoever kills it knows which saves had finished.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "fake/fake_platform.h"
#include "save_loop/generation.h"
#include "settings/settings.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FOLDER FIRST_GENERATION\n", argv[0]);
    return 2;
  }
  fake::SetProgramFolder(std::string(argv[1]) + "/");
  for (long long n = std::atoll(argv[2]);; ++n) {
    Settings = GenerationSettings(n);
    SaveSettings();
    // Unbuffered, so that a reported save really had finished.
    const std::string line = std::to_string(n) + "\n";
    if (::write(STDOUT_FILENO, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
      return 1;
  }
}
