#include <windows.h>
#include <mmsystem.h>

#include <cstdio>

#include "platform/platform.h"
#include "backends/win32/observer.h"

namespace platform {

namespace {

void Play(const std::string& name, DWORD flags) {
  char note[32];
  std::snprintf(note, sizeof note, "|0x%lX", static_cast<unsigned long>(flags));
  win32::NotePlatformCall("PlaySound " + name + note);
  ::PlaySoundA(name.c_str(), nullptr, flags);
}

}  // namespace

// No flags: the call returns when the sound has ended, and a file that cannot
// be played gives the system's default sound.
void PlaySoundSync(const std::string& path) { Play(path, 0); }

void PlaySoundLoop(const std::string& path) { Play(path, SND_LOOP | SND_FILENAME | SND_ASYNC); }

// An empty name (not a null one) ends whatever this process is playing.
void StopSound() { Play("", SND_NODEFAULT); }

}  // namespace platform
