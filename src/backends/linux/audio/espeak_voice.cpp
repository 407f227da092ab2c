// espeak-ng's voice: the engine's samples (espeak_engine.h), played on the
// shared device, so several utterances (and an alarm loop) can sound at once.
// The program links this beside the modules' stand-ins, so the engine and
// the device each load when first needed.
#include "backends/linux/audio/espeak_voice.h"

#include <cstdint>
#include <vector>

#include "backends/linux/audio/audio_device.h"
#include "backends/linux/audio/espeak_engine.h"

struct espeak_voice::Voice {
  linux_audio::Playing utterance;
};

namespace espeak_voice {

Voice* CreateVoice() { return espeak_engine::Ready() ? new Voice : nullptr; }

void Speak(Voice* voice, const std::string& text) {
  if (voice == nullptr) return;
  WaitUntilDone(voice);  // a voice says one thing at a time
  std::vector<std::int16_t> samples;
  int rate = 0;
  if (!espeak_engine::Synthesize(text, samples, rate) || samples.empty()) return;
  voice->utterance = linux_audio::StartSamples(samples, rate);
}

void WaitUntilDone(Voice* voice) {
  if (voice != nullptr) linux_audio::AwaitSound(voice->utterance);
}

void ReleaseVoice(Voice* voice) {
  if (voice == nullptr) return;
  linux_audio::HaltSound(voice->utterance);
  delete voice;
}

}  // namespace espeak_voice
