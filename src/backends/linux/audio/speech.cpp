// Speech through espeak-ng's library, in its default voice: the voice used
// when speech-dispatcher cannot be reached. The engine only makes the samples;
// the shared device plays them, so several utterances (and an alarm loop) can
// sound at once.
#include <SDL.h>
#include <espeak-ng/espeak_ng.h>

#include <cstdint>
#include <mutex>
#include <vector>

#include "backends/linux/audio/audio_device.h"
#include "backends/linux/audio/espeak_voice.h"
#include "platform/platform.h"

struct espeak_voice::Voice {
  linux_audio::Playing utterance;
};

namespace {

// espeak-ng is one engine per process and not reentrant: one synthesis at a
// time, all of it under `lock`. Playback is not held by it.
struct Engine {
  std::mutex lock;
  enum class State { kUntried, kReady, kFailed } state = State::kUntried;
  int rate = 0;
  std::vector<std::int16_t>* samples = nullptr;  // the synthesis under way
};

Engine engine;

// Called on the synthesising thread, with engine.lock held by it.
int CollectSamples(short* samples, int count, espeak_EVENT*) {
  if (samples != nullptr && count > 0 && engine.samples != nullptr)
    engine.samples->insert(engine.samples->end(), samples, samples + count);
  return 0;  // go on
}

// Caller holds engine.lock. Tried once: missing voice data will not appear
// later, and a second try costs as much as the first.
bool EngineReady() {
  if (engine.state == Engine::State::kUntried) {
    espeak_ng_InitializePath(nullptr);
    espeak_ng_ERROR_CONTEXT context = nullptr;
    // The library's older entry point would end the process when its data is
    // missing; this one reports it.
    bool ready = espeak_ng_Initialize(&context) == ENS_OK;
    espeak_ng_ClearErrorContext(&context);
    ready = ready && espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr) == ENS_OK &&
            espeak_ng_SetVoiceByName(ESPEAKNG_DEFAULT_VOICE) == ENS_OK;
    if (ready) {
      espeak_SetSynthCallback(CollectSamples);
      engine.rate = espeak_ng_GetSampleRate();
    }
    engine.state = ready && engine.rate > 0 ? Engine::State::kReady : Engine::State::kFailed;
  }
  return engine.state == Engine::State::kReady;
}

}  // namespace

namespace platform {

// espeak-ng keeps no per-thread state, so a speech thread has nothing to set up.
void EnterSpeechThread() {}
// SDL keeps a little state for each thread that called it (its error text) and
// frees it by itself only on threads it started; each speech thread would leak it.
void LeaveSpeechThread() { SDL_TLSCleanup(); }

}  // namespace platform

namespace espeak_voice {

Voice* CreateVoice() {
  std::lock_guard<std::mutex> hold(engine.lock);
  return EngineReady() ? new Voice : nullptr;
}

void Speak(Voice* voice, const std::string& text) {
  if (voice == nullptr) return;
  WaitUntilDone(voice);  // a voice says one thing at a time
  std::vector<std::int16_t> samples;
  int rate = 0;
  {
    std::lock_guard<std::mutex> hold(engine.lock);
    if (!EngineReady()) return;
    engine.samples = &samples;
    espeak_ng_Synthesize(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
                         nullptr, nullptr);
    engine.samples = nullptr;
    rate = engine.rate;
  }
  if (samples.empty()) return;
  voice->utterance = linux_audio::StartSound(linux_audio::PcmSound(samples, rate), false);
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
