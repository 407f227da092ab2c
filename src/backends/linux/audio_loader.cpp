// The seam's sound and speech functions for the program: the first that has
// something to sound or say loads the module that does the work
// (audio/audio_module.h), and each call is handed on to it. Without a module
// fit to load, nothing sounds, no voice is made, and the user is told once.
#include "backends/linux/audio_loader.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>

#include "backends/linux/audio/audio_module.h"
#include "backends/linux/write_permission.h"
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

// Code runs with the user's rights: only a file and folder that nobody but
// the user or root can change are fit to load, by the settings folders' rule.
bool NobodyElseMayChange(const std::string& name, const struct stat& status) {
  return (status.st_uid == 0 || status.st_uid == ::geteuid()) &&
         linux_files::NoOtherUserMayWrite(name, status);
}

// Why the module at `place` may not be loaded; empty when it may. The file is
// checked and loaded through the same descriptor, so it cannot be swapped
// in between.
std::string Refusal(const std::string& place, int& descriptor) {
  char real[PATH_MAX];
  if (::realpath(place.c_str(), real) == nullptr) return place + " cannot be opened";
  const std::string file = real;
  descriptor = ::open(real, O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  struct stat status {};
  if (descriptor < 0 || ::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))
    return file + " cannot be opened";
  const std::string folder_name = file.substr(0, file.rfind('/') + 1);
  struct stat folder {};
  if (!NobodyElseMayChange(file, status) || ::stat(folder_name.c_str(), &folder) != 0 ||
      !NobodyElseMayChange(folder_name, folder))
    return file + " or its folder may be changed by other users";
  return std::string();
}

// Beside the program in the build folder; in the library folder installed.
// dlclose is never called: the speech-dispatcher voice (dispatcher_voice.cpp)
// keeps static state meant to outlive the detached speech threads, whose code
// must stay mapped for as long as the process lives.
const AudioModule* Load(std::string& why) {
  const std::string folder = ProgramFolder();
  const std::string places[] = {folder + kModuleName,
                                folder + "/" QUORVEL_AUDIO_MODULE_DIR + kModuleName};
  for (const std::string& place : places) {
    if (::access(place.c_str(), F_OK) != 0) continue;
    int descriptor = -1;
    why = Refusal(place, descriptor);
    void* handle = nullptr;
    if (why.empty()) {
      handle = ::dlopen(("/proc/self/fd/" + std::to_string(descriptor)).c_str(),
                        RTLD_NOW | RTLD_LOCAL);
      if (handle == nullptr) why = place + " cannot be loaded: " + ::dlerror();
    }
    if (descriptor >= 0) ::close(descriptor);
    if (handle == nullptr) return nullptr;
    const auto* table =
        static_cast<const AudioModule*>(::dlsym(handle, linux_audio::kAudioModuleSymbol));
    if (table == nullptr) {
      why = place + " is not Quorvel's sound module";
      return nullptr;
    }
    if (table->size != sizeof(AudioModule) || std::strcmp(table->version, QUORVEL_VERSION) != 0) {
      why = place + " belongs to another version of Quorvel";
      return nullptr;
    }
    return table;
  }
  why = std::string(kModuleName + 1) + " is neither beside the program nor in " +
        QUORVEL_AUDIO_MODULE_DIR;
  return nullptr;
}

// Speech threads call in as well as the window's: the first caller loads.
const AudioModule* Module() {
  std::call_once(load_once, [] {
    std::string why;
    module = Load(why);
    if (module.load() == nullptr) linux_audio::TellNoSound(why);
  });
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
