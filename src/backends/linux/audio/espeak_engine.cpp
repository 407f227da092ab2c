#include "backends/linux/audio/espeak_engine.h"

#include <espeak-ng/espeak_ng.h>

#include <mutex>

namespace {

// espeak-ng is one engine per process and not reentrant: one synthesis at a
// time, all of it under `lock`.
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

namespace espeak_engine {

bool Ready() {
  std::lock_guard<std::mutex> hold(engine.lock);
  return EngineReady();
}

bool Synthesize(const std::string& text, std::vector<std::int16_t>& samples, int& rate) {
  std::lock_guard<std::mutex> hold(engine.lock);
  if (!EngineReady()) return false;
  engine.samples = &samples;
  espeak_ng_Synthesize(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
                       nullptr, nullptr);
  engine.samples = nullptr;
  rate = engine.rate;
  return true;
}

}  // namespace espeak_engine
