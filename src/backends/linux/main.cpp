#include "backends/linux/audio_loader.h"
#include "window/start_up.h"

int main(int argc, char** argv) {
  const int status = RunQuorvel(argc, argv);
  // Speech and sound threads may still be sounding: they are halted and the
  // device closed before the statics' teardown, which they must not meet.
  linux_audio::EndAllSoundIfLoaded();
  return status;
}
