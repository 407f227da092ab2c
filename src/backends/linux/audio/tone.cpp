#include "backends/linux/audio/tone.h"

#include <algorithm>
#include <cmath>

#include "backends/linux/audio/audio_device.h"
#include "platform/platform.h"

namespace linux_audio {

namespace {

constexpr double kPi = 3.14159265358979323846;

}  // namespace

std::vector<std::int16_t> Tone(unsigned frequency_hz, unsigned duration_ms, double level) {
  const std::size_t frames = static_cast<std::size_t>(duration_ms) * kToneRate / 1000;
  std::vector<std::int16_t> samples(frames, 0);
  if (frequency_hz == 0 || frequency_hz >= kToneRate / 2) return samples;
  const std::size_t fade = std::min<std::size_t>(kToneRate * 5 / 1000, frames / 4);
  const double step = 2.0 * kPi * frequency_hz / kToneRate;
  for (std::size_t i = 0; i < frames; ++i) {
    const std::size_t edge = std::min(i, frames - 1 - i);
    const double envelope = edge < fade ? static_cast<double>(edge) / fade : 1.0;
    samples[i] = static_cast<std::int16_t>(std::lround(32767.0 * level * envelope *
                                                       std::sin(step * static_cast<double>(i))));
  }
  return samples;
}

}  // namespace linux_audio

namespace platform {

void Beep(unsigned frequency_hz, unsigned duration_ms) {
  const std::vector<std::int16_t> tone = linux_audio::Tone(frequency_hz, duration_ms, 0.5);
  if (tone.empty()) return;
  linux_audio::Playing playing =
      linux_audio::StartSound(linux_audio::PcmSound(tone, linux_audio::kToneRate), false);
  linux_audio::AwaitSound(playing);
}

}  // namespace platform
