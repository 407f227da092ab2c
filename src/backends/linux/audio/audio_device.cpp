#include "backends/linux/audio/audio_device.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace linux_audio {

namespace {

// Enough for every sound the clock can raise at once; one more is not played.
constexpr int kChannels = 32;
// About 23 ms a buffer: short enough that speech starts promptly, long
// enough that the mixer wakes only some forty times a second while open.
constexpr int kBufferFrames = 1024;
constexpr int kBufferMs = kBufferFrames * 1000 / kDeviceRate;
// How long the program's end waits for the owners of halted sounds.
constexpr auto kEndWait = std::chrono::milliseconds(500);

// The mixer calls OnChannelEnded with its own lock held, and we call the mixer
// holding `lock`; so `ended_lock` is taken with nothing else and held over no
// mixer call, which keeps the two lock orders from crossing.
struct Device {
  std::mutex lock;  // users, whether open, which channels are ours, ending
  int users = 0;
  std::array<bool, kChannels> taken{};
  bool ending = false;  // the program ends: nothing may sound any more
  std::condition_variable released_signal;  // with `lock`: users went down
  std::mutex ended_lock;
  std::condition_variable ended_signal;
  std::array<bool, kChannels> ended{};
};

// Never destroyed: speech and loader threads may still reach it while the
// program's statics are torn down, and a condition variable must not be
// destroyed under a thread that waits on it.
Device& device = *new Device;

void OnChannelEnded(int channel) {
  if (channel < 0 || channel >= kChannels) return;
  {
    std::lock_guard<std::mutex> hold(device.ended_lock);
    device.ended[channel] = true;
  }
  device.ended_signal.notify_all();
}

// Caller holds device.lock.
bool OpenDevice() {
  // SDL would otherwise take over SIGINT and SIGTERM while the device is open,
  // and the program would no longer end on them.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (Mix_OpenAudioDevice(kDeviceRate, AUDIO_S16SYS, kDeviceChannels, kBufferFrames, nullptr, 0) !=
      0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Mix_AllocateChannels(kChannels);
  Mix_ChannelFinished(OnChannelEnded);
  return true;
}

// Caller holds device.lock. No channel plays now, so closing calls no
// OnChannelEnded.
void CloseDevice() {
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool AcquireDevice() {
  std::lock_guard<std::mutex> hold(device.lock);
  if (device.ending || (device.users == 0 && !OpenDevice())) return false;
  device.users += 1;
  return true;
}

// True when this was the last user and the device is closed.
bool ReleaseDevice() {
  std::lock_guard<std::mutex> hold(device.lock);
  device.users -= 1;
  if (device.users > 0) return false;
  CloseDevice();
  device.released_signal.notify_all();
  return true;
}

// A channel of our own for `chunk`, or -1.
int StartChannel(Mix_Chunk* chunk, int loops) {
  std::lock_guard<std::mutex> hold(device.lock);
  if (device.ending) return -1;  // it would sound after the last halt
  int channel = 0;
  while (channel < kChannels && device.taken[channel]) channel += 1;
  if (channel == kChannels) return -1;
  {
    std::lock_guard<std::mutex> hold_ended(device.ended_lock);
    device.ended[channel] = false;
  }
  if (Mix_PlayChannel(channel, chunk, loops) != channel) return -1;
  device.taken[channel] = true;
  return channel;
}

void AwaitChannel(int channel) {
  {
    std::unique_lock<std::mutex> hold(device.ended_lock);
    device.ended_signal.wait(hold, [channel] { return device.ended[channel]; });
  }
  std::lock_guard<std::mutex> hold(device.lock);
  device.taken[channel] = false;
}

void Finish(Playing& playing, bool heard) {
  if (playing.chunk != nullptr) Mix_FreeChunk(playing.chunk);
  playing = Playing{};
  const bool closed = ReleaseDevice();
  // Closing drains what was mixed; on a device left open for other sounds,
  // the last buffers of this one still have to play out.
  if (heard && !closed) std::this_thread::sleep_for(std::chrono::milliseconds(2 * kBufferMs));
}

}  // namespace

Playing StartSound(const std::function<Mix_Chunk*()>& load, int loops) {
  if (!AcquireDevice()) return Playing{};
  Playing playing;
  playing.chunk = load();
  if (playing.chunk != nullptr && playing.chunk->alen > 0)
    playing.channel = StartChannel(playing.chunk, loops);
  if (playing.channel < 0) Finish(playing, false);
  return playing;
}

void AwaitSound(Playing& playing) {
  if (playing.channel < 0) return;
  AwaitChannel(playing.channel);
  Finish(playing, true);
}

void HaltSound(Playing& playing) {
  if (playing.channel < 0) return;
  CutShort(playing.channel);
  AwaitChannel(playing.channel);
  Finish(playing, false);
}

// The mixer reports the halt through OnChannelEnded before returning.
void CutShort(int channel) { Mix_HaltChannel(channel); }

void EndAllSound() {
  std::unique_lock<std::mutex> hold(device.lock);
  device.ending = true;
  if (device.users == 0) return;
  Mix_HaltChannel(-1);
  device.released_signal.wait_for(hold, kEndWait, [] { return device.users == 0; });
}

}  // namespace linux_audio
