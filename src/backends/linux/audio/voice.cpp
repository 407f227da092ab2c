// The seam's voice: speech-dispatcher when it can be reached, else espeak-ng
// through the sound device. Chosen anew for every voice, so an utterance after
// the daemon went away starts it again or falls back.
#include "backends/linux/audio/dispatcher_voice.h"
#include "backends/linux/audio/espeak_voice.h"
#include "platform/platform.h"

struct platform::Voice {
  dispatcher_voice::Connection* dispatcher = nullptr;
  espeak_voice::Voice* espeak = nullptr;
  std::string text;  // said again by espeak-ng should the daemon stop answering
};

namespace {

void SpeakWithEspeak(platform::Voice& voice) {
  if (voice.espeak == nullptr) voice.espeak = espeak_voice::CreateVoice();
  espeak_voice::Speak(voice.espeak, voice.text);
}

void DropDispatcher(platform::Voice& voice) {
  dispatcher_voice::Disconnect(voice.dispatcher);
  voice.dispatcher = nullptr;
}

}  // namespace

namespace platform {

Voice* CreateVoice() {
  if (dispatcher_voice::Connection* connection = dispatcher_voice::Connect())
    return new Voice{connection, nullptr, {}};
  espeak_voice::Voice* espeak = espeak_voice::CreateVoice();
  return espeak == nullptr ? nullptr : new Voice{nullptr, espeak, {}};
}

void Speak(Voice* voice, const std::string& text) {
  if (voice == nullptr) return;
  voice->text = text;
  if (voice->dispatcher != nullptr) {
    if (dispatcher_voice::Speak(voice->dispatcher, text)) return;
    // The daemon went away or stopped answering since the connection was made.
    DropDispatcher(*voice);
  }
  SpeakWithEspeak(*voice);
}

void WaitUntilDone(Voice* voice) {
  if (voice == nullptr) return;
  if (voice->dispatcher != nullptr && !dispatcher_voice::WaitUntilDone(voice->dispatcher)) {
    // A stopped daemon may never speak the text.
    DropDispatcher(*voice);
    SpeakWithEspeak(*voice);
  }
  espeak_voice::WaitUntilDone(voice->espeak);
}

void ReleaseVoice(Voice* voice) {
  if (voice == nullptr) return;
  if (voice->dispatcher != nullptr) dispatcher_voice::Disconnect(voice->dispatcher);
  espeak_voice::ReleaseVoice(voice->espeak);
  delete voice;
}

}  // namespace platform
