// Sound files: played to their end, or looped as an alarm until stopped.
//
// A file is read and decoded on a thread of its own, never on the caller's
// (the window's): a path may name a FIFO, a device, or a file on a mount
// that does not answer, and a big file takes long to decode.
#include <SDL.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "backends/linux/audio/audio_device.h"
#include "backends/linux/audio/device_sound.h"
#include "backends/linux/audio/sound_file.h"
#include "backends/linux/audio/tone.h"
#include "platform/platform.h"

namespace platform {

namespace {

// A file not read and decoded by then is given up for the default sound, as
// the Windows player gives it for a file it cannot play; its thread ends by
// itself whenever its read returns.
constexpr auto kLoadWait = std::chrono::seconds(2);

// One file being read; shared, since its waiter may give up on it first.
struct Load {
  std::mutex lock;
  std::condition_variable done_signal;
  bool done = false;
  linux_audio::DeviceSound sound;
};

// The one alarm loop; a new loop takes the place of the old one. Never
// destroyed: a loader may finish while the program ends.
struct Loop {
  std::mutex lock;
  std::condition_variable ended_signal;
  // Counts every start and stop; a loader whose number is no longer the
  // latest starts nothing.
  unsigned latest = 0;
  int channel = -1;  // the sounding loop's, -1 when none sounds
};

Loop& loop = *new Loop;

// False when no thread can be started.
bool StartDetached(std::function<void()> work) {
  try {
    std::thread([work = std::move(work)] {
      work();
      SDL_TLSCleanup();  // SDL's per-thread state (its error text) of a thread not its own
    }).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

// The file's samples, or an empty sound when it cannot be played in time.
linux_audio::DeviceSound LoadWithin(const std::string& path) {
  auto load = std::make_shared<Load>();
  const bool started = StartDetached([load, path] {
    const std::optional<std::string> file = linux_audio::ReadSoundFile(path);
    linux_audio::DeviceSound sound;
    if (file) sound = linux_audio::DecodeWav(*file);
    std::lock_guard<std::mutex> hold(load->lock);
    load->sound = std::move(sound);
    load->done = true;
    load->done_signal.notify_all();
  });
  if (!started) return {};
  std::unique_lock<std::mutex> hold(load->lock);
  if (!load->done_signal.wait_for(hold, kLoadWait, [&load] { return load->done; })) return {};
  return std::move(load->sound);
}

// A file that cannot be played still gives the user a short, soft tone; as a
// loop it repeats with a pause, so an alarm reads as beeps, not a drone.
linux_audio::DeviceSound DefaultSound(bool looping) {
  std::vector<std::int16_t> samples = linux_audio::Tone(880, 200, 0.3);
  if (looping) samples.resize(samples.size() + linux_audio::kToneRate * 8 / 10, 0);
  return linux_audio::PcmSound(samples, linux_audio::kToneRate);
}

linux_audio::Playing StartFile(linux_audio::DeviceSound sound, bool looping) {
  return linux_audio::StartSound(sound.size > 0 ? std::move(sound) : DefaultSound(looping),
                                 looping);
}

// Caller holds `hold` on loop.lock. Returns once a sounding loop has ended
// and let go of the device.
void StopLoop(std::unique_lock<std::mutex>& hold) {
  loop.latest += 1;
  if (loop.channel < 0) return;
  linux_audio::CutShort(loop.channel);
  loop.ended_signal.wait(hold, [] { return loop.channel < 0; });
}

// The loader of loop `number`: it stays with its loop, awaiting its halt.
void SoundLoop(const std::string& path, unsigned number) {
  linux_audio::DeviceSound sound = LoadWithin(path);
  linux_audio::Playing playing;
  {
    std::lock_guard<std::mutex> hold(loop.lock);
    if (loop.latest != number) return;  // stopped or replaced while loading
    playing = StartFile(std::move(sound), true);
    loop.channel = playing.channel;
  }
  linux_audio::AwaitSound(playing);
  std::lock_guard<std::mutex> hold(loop.lock);
  loop.channel = -1;
  loop.ended_signal.notify_all();
}

}  // namespace

void PlaySoundSync(const std::string& path) {
  linux_audio::Playing playing = StartFile(LoadWithin(path), false);
  linux_audio::AwaitSound(playing);
}

// Without a thread to load it there is no loop; the alarm box still shows.
void PlaySoundLoop(const std::string& path) {
  std::unique_lock<std::mutex> hold(loop.lock);
  StopLoop(hold);
  const unsigned number = loop.latest;
  hold.unlock();
  StartDetached([path, number] { SoundLoop(path, number); });
}

void StopSound() {
  std::unique_lock<std::mutex> hold(loop.lock);
  StopLoop(hold);
}

}  // namespace platform
