// The seam's sound and speech functions for the program: each module is
// loaded by the first call that needs it (audio/audio_module.h: SDL2;
// audio/espeak_module.h: espeak-ng; audio/speechd_module.h:
// speech-dispatcher), and the call is handed on to it. Without a module fit
// to load, what it would do is not done (a voice falls back or is not made),
// and the user is told once.
#include "backends/linux/audio_loader.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "backends/linux/audio/audio_module.h"
#include "backends/linux/audio/espeak_engine.h"
#include "backends/linux/audio/espeak_module.h"
#include "backends/linux/audio/speechd_module.h"
#include "backends/linux/write_permission.h"
#include "platform/platform.h"

namespace {

using linux_audio::AudioModule;
using linux_audio::EspeakModule;
using linux_audio::ModuleStamp;
using linux_audio::SpeechdModule;

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

// The table `symbol` of the module `file`, beside the program in the build
// folder or in the library folder installed; null, with why, when there is
// none fit to load.
// dlclose is never called: the speech-dispatcher voice (dispatcher_voice.cpp)
// keeps static state meant to outlive the detached speech threads, whose code
// must stay mapped for as long as the process lives.
const void* Load(const std::string& file, const char* symbol, std::size_t size,
                 std::string& why) {
  const std::string folder = ProgramFolder();
  const std::string places[] = {folder + "/" + file,
                                folder + "/" QUORVEL_AUDIO_MODULE_DIR "/" + file};
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
    // A loaded module keeps its descriptor: glibc knows a loaded library by
    // the name it was opened under, and a second module opened under the
    // same /proc/self/fd/N would be taken for the first.
    if (handle == nullptr && descriptor >= 0) ::close(descriptor);
    if (handle == nullptr) return nullptr;
    // Each table begins with its stamp.
    const auto* stamp = static_cast<const ModuleStamp*>(::dlsym(handle, symbol));
    if (stamp == nullptr) {
      why = place + " is not Quorvel's " + file;
      return nullptr;
    }
    if (stamp->size != size || std::strcmp(stamp->version, QUORVEL_VERSION) != 0) {
      why = place + " belongs to another version of Quorvel";
      return nullptr;
    }
    return stamp;
  }
  why = file + " is neither beside the program nor in " + QUORVEL_AUDIO_MODULE_DIR;
  return nullptr;
}

// One notice a run, for whichever module is missed first.
void TellOnce(const std::string& why) {
  static std::once_flag told;
  std::call_once(told, [&why] { linux_audio::TellNoSound(why); });
}

// One module's table, loaded once by its first caller (speech threads call in
// as well as the window's). The program's end rules out later loads.
template <typename Table>
struct Loaded {
  std::once_flag once;
  std::atomic<const Table*> table{nullptr};  // set once, by the load

  const Table* Get(const char* file, const char* symbol) {
    std::call_once(once, [&] {
      std::string why;
      table = static_cast<const Table*>(Load(file, symbol, sizeof(Table), why));
      if (table.load() == nullptr) TellOnce(why);
    });
    return table.load();
  }
  // Waits for a load under way; a load not begun is ruled out from here on.
  const Table* EndLoading() {
    std::call_once(once, [] {});
    return table.load();
  }
};

Loaded<AudioModule> sound;
Loaded<SpeechdModule> speechd;
Loaded<EspeakModule> espeak;

const AudioModule* Sound() {
  return sound.Get(linux_audio::kAudioModuleFile, linux_audio::kAudioModuleSymbol);
}
const SpeechdModule* Speechd() {
  return speechd.Get(linux_audio::kSpeechdModuleFile, linux_audio::kSpeechdModuleSymbol);
}
const EspeakModule* Espeak() {
  return espeak.Get(linux_audio::kEspeakModuleFile, linux_audio::kEspeakModuleSymbol);
}

}  // namespace

namespace platform {

void PlaySoundSync(const std::string& path) {
  if (const AudioModule* audio = Sound()) audio->play_sound_sync(path);
}

void PlaySoundLoop(const std::string& path) {
  if (const AudioModule* audio = Sound()) audio->play_sound_loop(path);
}

// Only a loaded module can have a sound to stop.
void StopSound() {
  if (const AudioModule* audio = sound.table.load()) audio->stop_sound();
}

// Neither module keeps per-thread state that needs setting up.
void EnterSpeechThread() {}

// SDL's per-thread state exists only where SDL was loaded to speak.
void LeaveSpeechThread() {
  if (const AudioModule* audio = sound.table.load()) audio->leave_speech_thread();
}

void Beep(unsigned frequency_hz, unsigned duration_ms) {
  if (const AudioModule* audio = Sound()) audio->beep(frequency_hz, duration_ms);
}

}  // namespace platform

// What the voices (audio/voice.cpp, audio/espeak_voice.cpp) are made of. A
// voice exists only if its module made it; a null one has nothing to do.
namespace espeak_engine {

bool Ready() {
  const EspeakModule* module = Espeak();
  return module != nullptr && module->ready();
}
bool Synthesize(const std::string& text, std::vector<std::int16_t>& samples, int& rate) {
  const EspeakModule* module = Espeak();
  return module != nullptr && module->synthesize(text, samples, rate);
}

}  // namespace espeak_engine

namespace linux_audio {

Playing StartSamples(const std::vector<std::int16_t>& samples, int rate) {
  const AudioModule* audio = Sound();
  return audio == nullptr ? Playing{} : audio->start_samples(samples, rate);
}
// A sound that was started had its module loaded.
void AwaitSound(Playing& playing) {
  if (playing.channel >= 0) sound.table.load()->await_sound(playing);
}
void HaltSound(Playing& playing) {
  if (playing.channel >= 0) sound.table.load()->halt_sound(playing);
}

}  // namespace linux_audio

namespace dispatcher_voice {

Connection* Connect() {
  const SpeechdModule* module = Speechd();
  return module == nullptr ? nullptr : module->connect();
}
bool Speak(Connection* connection, const std::string& text) {
  return speechd.table.load()->speak(connection, text);
}
bool WaitUntilDone(Connection* connection) {
  return speechd.table.load()->wait_until_done(connection);
}
void Disconnect(Connection* connection) { speechd.table.load()->disconnect(connection); }

}  // namespace dispatcher_voice

namespace linux_audio {

void EndAllSoundIfLoaded() {
  speechd.EndLoading();
  espeak.EndLoading();
  if (const AudioModule* audio = sound.EndLoading()) audio->end_all_sound();
}

}  // namespace linux_audio
