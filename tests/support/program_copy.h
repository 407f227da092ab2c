// The real program and its sound and speech modules, copied into a folder of a
// test's own, where it keeps its settings beside itself.
#pragma once

#include <filesystem>
#include <string>

namespace test_program {

inline void CopyProgramInto(const std::string& folder) {
  namespace fs = std::filesystem;
  fs::copy_file(QUORVEL_PROGRAM, folder + "/quorvel");
  fs::copy_file(QUORVEL_AUDIO_MODULE, folder + "/quorvel_audio.so");
  fs::copy_file(QUORVEL_SPEECHD_MODULE, folder + "/quorvel_speechd.so");
  fs::copy_file(QUORVEL_ESPEAK_MODULE, folder + "/quorvel_espeak.so");
}

}  // namespace test_program
