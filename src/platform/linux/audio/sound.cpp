// Sound files: played to their end, or looped as an alarm until stopped.
#include <SDL_mixer.h>

#include <mutex>

#include "platform/linux/audio/audio_device.h"
#include "platform/linux/audio/pcm_chunk.h"
#include "platform/linux/audio/tone.h"
#include "platform/platform.h"

namespace platform {

namespace {

// The one alarm loop; a new loop takes the place of the old one.
struct Loop {
  std::mutex lock;
  linux_audio::Playing playing;
};

Loop loop;

// A file that cannot be played still gives the user a short, soft tone; as a
// loop it repeats with a pause, so an alarm reads as beeps, not a drone.
Mix_Chunk* DefaultSound(bool looping) {
  std::vector<std::int16_t> samples = linux_audio::Tone(880, 200, 0.3);
  if (looping) samples.resize(samples.size() + linux_audio::kToneRate * 8 / 10, 0);
  return linux_audio::ChunkFromPcm(samples, linux_audio::kToneRate);
}

linux_audio::Playing StartFile(const std::string& path, int loops) {
  return linux_audio::StartSound(
      [&path, loops] {
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        // An empty file plays as nothing; it gets the default sound too.
        if (chunk != nullptr && chunk->alen == 0) {
          Mix_FreeChunk(chunk);
          chunk = nullptr;
        }
        return chunk != nullptr ? chunk : DefaultSound(loops != 0);
      },
      loops);
}

}  // namespace

void PlaySoundSync(const std::string& path) {
  linux_audio::Playing playing = StartFile(path, 0);
  linux_audio::AwaitSound(playing);
}

void PlaySoundLoop(const std::string& path) {
  std::lock_guard<std::mutex> hold(loop.lock);
  linux_audio::HaltSound(loop.playing);
  loop.playing = StartFile(path, -1);
}

void StopSound() {
  std::lock_guard<std::mutex> hold(loop.lock);
  linux_audio::HaltSound(loop.playing);
}

}  // namespace platform
