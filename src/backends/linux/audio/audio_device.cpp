#include "backends/linux/audio/audio_device.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/platform.h"

namespace linux_audio {

namespace {

// Enough for every sound the clock can raise at once; one more is not played.
constexpr int kChannels = 32;
// About 23 ms a buffer: short enough that speech starts promptly, long
// enough that the callback wakes only some forty times a second while open.
constexpr int kBufferFrames = 1024;
constexpr int kBufferMs = kBufferFrames * 1000 / kDeviceRate;
// How long the program's end waits for the owners of halted sounds.
constexpr auto kEndWait = std::chrono::milliseconds(500);

struct Channel {
  DeviceSound sound;
  std::uint32_t at = 0;  // the next byte to play
  bool looping = false;
  bool sounding = false;
};

// SDL calls Mix with its device lock held, and we take that lock holding
// `lock`; so `ended_lock` is taken with nothing else and held over no SDL
// call, which keeps the lock orders from crossing.
struct Device {
  std::mutex lock;  // users, the device, which channels are ours, ending
  int users = 0;
  SDL_AudioDeviceID id = 0;  // 0 while closed
  std::array<bool, kChannels> taken{};
  bool ending = false;  // the program ends: nothing may sound any more
  std::condition_variable released_signal;  // with `lock`: users went down
  std::array<Channel, kChannels> channels;  // under SDL's device lock: Mix reads them
  std::mutex ended_lock;
  std::condition_variable ended_signal;
  std::array<bool, kChannels> ended{};
};

// Never destroyed: speech and loader threads may still reach it while the
// program's statics are torn down, and a condition variable must not be
// destroyed under a thread that waits on it.
Device& device = *new Device;

void MarkEnded(int channel) {
  {
    std::lock_guard<std::mutex> hold(device.ended_lock);
    device.ended[channel] = true;
  }
  device.ended_signal.notify_all();
}

// SDL's callback, on its audio thread: adds every sounding channel into the
// buffer, clipping as SDL does.
void Mix(void*, Uint8* buffer, int length) {
  SDL_memset(buffer, 0, static_cast<std::size_t>(length));
  for (int index = 0; index < kChannels; ++index) {
    Channel& channel = device.channels[index];
    for (std::uint32_t done = 0; channel.sounding && done < static_cast<std::uint32_t>(length);) {
      const std::uint32_t piece =
          std::min(static_cast<std::uint32_t>(length) - done, channel.sound.size - channel.at);
      SDL_MixAudioFormat(buffer + done, channel.sound.bytes.get() + channel.at, AUDIO_S16SYS,
                         piece, SDL_MIX_MAXVOLUME);
      done += piece;
      channel.at += piece;
      if (channel.at < channel.sound.size) continue;
      channel.at = 0;
      if (channel.looping) continue;
      channel.sounding = false;
      MarkEnded(index);
    }
  }
}

// Caller holds device.lock.
bool OpenDevice() {
  // SDL would otherwise take over SIGINT and SIGTERM while the device is open,
  // and the program would no longer end on them.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec wanted{};
  wanted.freq = kDeviceRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = kDeviceChannels;
  wanted.samples = kBufferFrames;
  wanted.callback = Mix;
  // No changes allowed: SDL converts to whatever the hardware takes.
  device.id = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
  if (device.id == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  SDL_PauseAudioDevice(device.id, 0);
  return true;
}

// Caller holds device.lock. No channel sounds now.
void CloseDevice() {
  SDL_CloseAudioDevice(device.id);
  device.id = 0;
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

// A channel of our own sounding `sound`, or -1.
int StartChannel(DeviceSound& sound, bool looping) {
  std::lock_guard<std::mutex> hold(device.lock);
  if (device.ending) return -1;  // it would sound after the last halt
  int channel = 0;
  while (channel < kChannels && device.taken[channel]) channel += 1;
  if (channel == kChannels) return -1;
  {
    std::lock_guard<std::mutex> hold_ended(device.ended_lock);
    device.ended[channel] = false;
  }
  SDL_LockAudioDevice(device.id);
  device.channels[channel] = Channel{std::move(sound), 0, looping, true};
  SDL_UnlockAudioDevice(device.id);
  device.taken[channel] = true;
  return channel;
}

// Caller holds device.lock. True when the channel was still sounding.
bool Silence(int channel) {
  SDL_LockAudioDevice(device.id);
  const bool was_sounding = device.channels[channel].sounding;
  device.channels[channel].sounding = false;
  SDL_UnlockAudioDevice(device.id);
  return was_sounding;
}

// Returns once the channel has ended, and frees its samples.
void AwaitChannel(int channel) {
  {
    std::unique_lock<std::mutex> hold(device.ended_lock);
    device.ended_signal.wait(hold, [channel] { return device.ended[channel]; });
  }
  DeviceSound heard;
  std::lock_guard<std::mutex> hold(device.lock);
  SDL_LockAudioDevice(device.id);
  heard = std::move(device.channels[channel].sound);
  SDL_UnlockAudioDevice(device.id);
  device.taken[channel] = false;
}

void Finish(Playing& playing, bool heard) {
  playing = Playing{};
  const bool closed = ReleaseDevice();
  // Closing plays out what was mixed; on a device left open for other
  // sounds, the last buffers of this one still have to play out.
  if (heard && !closed) std::this_thread::sleep_for(std::chrono::milliseconds(2 * kBufferMs));
}

}  // namespace

Playing StartSound(DeviceSound sound, bool looping) {
  if (sound.size == 0 || !AcquireDevice()) return Playing{};
  Playing playing;
  playing.channel = StartChannel(sound, looping);
  if (playing.channel < 0) Finish(playing, false);
  return playing;
}

Playing StartSamples(const std::vector<std::int16_t>& samples, int rate) {
  return StartSound(PcmSound(samples, rate), false);
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

void CutShort(int channel) {
  std::lock_guard<std::mutex> hold(device.lock);
  if (device.id != 0 && device.taken[channel] && Silence(channel)) MarkEnded(channel);
}

void EndAllSound() {
  std::unique_lock<std::mutex> hold(device.lock);
  device.ending = true;
  if (device.users == 0) return;
  for (int channel = 0; channel < kChannels; ++channel)
    if (device.taken[channel] && Silence(channel)) MarkEnded(channel);
  device.released_signal.wait_for(hold, kEndWait, [] { return device.users == 0; });
}

}  // namespace linux_audio

namespace platform {

// SDL keeps no per-thread state a speech thread must set up.
void EnterSpeechThread() {}
// SDL keeps a little state for each thread that called it (its error text) and
// frees it by itself only on threads it started; each speech thread would leak it.
void LeaveSpeechThread() { SDL_TLSCleanup(); }

}  // namespace platform
