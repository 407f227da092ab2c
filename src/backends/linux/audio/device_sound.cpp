#include "backends/linux/audio/device_sound.h"

#include <SDL.h>

#include <algorithm>

#include "backends/linux/audio/sound_file.h"
#include "backends/linux/audio/wav_size.h"

namespace linux_audio {

namespace {

constexpr std::uint64_t kDeviceFrameBytes = 2 * kDeviceChannels;
// Fed to the converter a piece at a time, so it never holds a second copy
// of the whole sound.
constexpr std::uint32_t kPieceBytes = 1u << 16;

// Moves what the converter has ready to the end of `sound`, growing it when
// the converter gives more than foreseen.
bool Drain(SDL_AudioStream* stream, DeviceSound& sound, std::uint64_t& capacity) {
  const int ready = SDL_AudioStreamAvailable(stream);
  if (ready <= 0) return ready == 0;
  if (sound.size + static_cast<std::uint64_t>(ready) > capacity) {
    capacity = sound.size + static_cast<std::uint64_t>(ready);
    void* grown = SDL_realloc(sound.bytes.get(), capacity);
    if (grown == nullptr) return false;
    static_cast<void>(sound.bytes.release());  // moved into `grown`
    sound.bytes.reset(static_cast<std::uint8_t*>(grown));
  }
  const int got = SDL_AudioStreamGet(stream, sound.bytes.get() + sound.size, ready);
  if (got < 0) return false;
  sound.size += static_cast<std::uint32_t>(got);
  return true;
}

// What `frames` at `rate` take at the device's rate and format.
std::uint64_t DeviceBytes(std::uint64_t frames, int rate) {
  const auto from = static_cast<std::uint64_t>(rate);
  return (frames * kDeviceRate + from - 1) / from * kDeviceFrameBytes;
}

DeviceSound Convert(const SDL_AudioSpec& spec, const std::uint8_t* samples, std::uint32_t size,
                    std::uint64_t foreseen) {
  SDL_AudioStream* stream = SDL_NewAudioStream(spec.format, spec.channels, spec.freq,
                                               AUDIO_S16SYS, kDeviceChannels, kDeviceRate);
  if (stream == nullptr) return {};
  DeviceSound sound;
  std::uint64_t capacity = foreseen;
  sound.bytes.reset(static_cast<std::uint8_t*>(SDL_malloc(capacity)));
  bool converted = sound.bytes != nullptr;
  for (std::uint32_t done = 0; converted && done < size; done += kPieceBytes) {
    const std::uint32_t piece = std::min(kPieceBytes, size - done);
    converted = SDL_AudioStreamPut(stream, samples + done, static_cast<int>(piece)) == 0 &&
                Drain(stream, sound, capacity);
  }
  converted = converted && SDL_AudioStreamFlush(stream) == 0 && Drain(stream, sound, capacity);
  SDL_FreeAudioStream(stream);
  return converted ? std::move(sound) : DeviceSound{};
}

}  // namespace

void SdlFree::operator()(std::uint8_t* memory) const { SDL_free(memory); }

DeviceSound DecodeWav(const std::string& file) {
  // Known before SDL's reader decodes it all into memory.
  if (DecodedWavBytes(file) > kMaxSoundBytes) return {};
  SDL_RWops* source = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
  if (source == nullptr) return {};
  SDL_AudioSpec spec;
  Uint8* samples = nullptr;
  Uint32 size = 0;
  if (SDL_LoadWAV_RW(source, 1, &spec, &samples, &size) == nullptr) return {};
  const std::unique_ptr<std::uint8_t, SdlFree> hold(samples);
  const std::uint64_t frame_bytes = SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels;
  if (spec.freq <= 0 || frame_bytes == 0 || size < frame_bytes) return {};
  const std::uint64_t frames = size / frame_bytes;
  const std::uint64_t device_bytes = DeviceBytes(frames, spec.freq);
  if (device_bytes > kMaxSoundBytes) return {};
  return Convert(spec, samples, static_cast<std::uint32_t>(frames * frame_bytes), device_bytes);
}

DeviceSound PcmSound(const std::vector<std::int16_t>& samples, int rate) {
  SDL_AudioSpec spec{};
  spec.format = AUDIO_S16SYS;
  spec.channels = 1;
  spec.freq = rate;
  const std::uint64_t frames = samples.size();
  if (rate <= 0 || frames == 0 || frames * 2 > kMaxSoundBytes) return {};
  return Convert(spec, reinterpret_cast<const std::uint8_t*>(samples.data()),
                 static_cast<std::uint32_t>(frames * 2), DeviceBytes(frames, rate));
}

}  // namespace linux_audio
