// The seam's sound and speech functions for the program: the first that has
// something to sound or say loads the module that does the work
// (audio/audio_module.h), and each call is handed on to it. Without the
// module, nothing sounds and no voice is made.
#include "backends/linux/audio_loader.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>

#include "backends/linux/audio/audio_module.h"
#include "platform/platform.h"

namespace {

using linux_audio::AudioModule;

constexpr char kModuleName[] = "/quorvel_audio.so";

std::once_flag load_once;
std::atomic<const AudioModule*> module{nullptr};  // set once, by the load

std::string ProgramFolder() {
  char path[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return std::string();
  const std::string program(path, static_cast<std::size_t>(length));
  return program.substr(0, program.rfind('/'));
}

// Beside the program in the build folder; in the library folder installed.
// dlclose is never called: the speech-dispatcher voice (dispatcher_voice.cpp)
// keeps static state meant to outlive the detached speech threads, whose code
// must stay mapped for as long as the process lives.
const AudioModule* Load() {
  const std::string folder = ProgramFolder();
  const std::string places[] = {folder + kModuleName,
                                folder + "/" QUORVEL_AUDIO_MODULE_DIR + kModuleName};
  for (const std::string& place : places) {
    if (::access(place.c_str(), F_OK) != 0) continue;
    void* handle = ::dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      std::fprintf(stderr, "quorvel: no sound or speech: %s\n", ::dlerror());
      return nullptr;
    }
    const void* table = ::dlsym(handle, linux_audio::kAudioModuleSymbol);
    if (table == nullptr) std::fprintf(stderr, "quorvel: no sound or speech: %s\n", ::dlerror());
    return static_cast<const AudioModule*>(table);
  }
  std::fprintf(stderr, "quorvel: no sound or speech: %s not found beside the program or in %s\n",
               kModuleName + 1, QUORVEL_AUDIO_MODULE_DIR);
  return nullptr;
}

// Speech threads call in as well as the window's: the first caller loads.
const AudioModule* Module() {
  std::call_once(load_once, [] { module = Load(); });
  return module.load();
}

}  // namespace

namespace platform {

void PlaySoundSync(const std::string& path) {
  if (const AudioModule* audio = Module()) audio->play_sound_sync(path);
}

void PlaySoundLoop(const std::string& path) {
  if (const AudioModule* audio = Module()) audio->play_sound_loop(path);
}

// Only a loaded module can have a sound to stop.
void StopSound() {
  if (const AudioModule* audio = module.load()) audio->stop_sound();
}

void EnterSpeechThread() {
  if (const AudioModule* audio = Module()) audio->enter_speech_thread();
}

void LeaveSpeechThread() {
  if (const AudioModule* audio = Module()) audio->leave_speech_thread();
}

Voice* CreateVoice() {
  const AudioModule* audio = Module();
  return audio == nullptr ? nullptr : audio->create_voice();
}

// A voice exists only if the module made it; a null one has nothing to do.
void Speak(Voice* voice, const std::string& text) {
  if (voice != nullptr) module.load()->speak(voice, text);
}
void WaitUntilDone(Voice* voice) {
  if (voice != nullptr) module.load()->wait_until_done(voice);
}
void ReleaseVoice(Voice* voice) {
  if (voice != nullptr) module.load()->release_voice(voice);
}

void Beep(unsigned frequency_hz, unsigned duration_ms) {
  if (const AudioModule* audio = Module()) audio->beep(frequency_hz, duration_ms);
}

}  // namespace platform

namespace linux_audio {

// Waits for a load under way; a load not begun is ruled out from here on.
void EndAllSoundIfLoaded() {
  std::call_once(load_once, [] {});
  if (const AudioModule* audio = module.load()) audio->end_all_sound();
}

}  // namespace linux_audio
