// The recording voice (voice/recording_voice.cpp) as the tests use it: what
// the program's speech ProgID leads to, how long a phrase lasts, and what the
// voice heard. Until a test says otherwise, every test runs with the
// recording voice and phrases that take no time.
#pragma once

#include <string>
#include <vector>

namespace wine_test {

enum class VoiceSetup {
  kRecording,   // the ProgID leads to the recording voice
  kNoProgId,    // no ProgID at all
  kMissingDll,  // the ProgID's class names a DLL that is not there
};

// Registers `setup` in the prefix, clears what was heard and makes each phrase
// last `phrase_ms`. Also in effect for programs the test starts afterwards.
void UseVoice(VoiceSetup setup, int phrase_ms = 0);

struct HeardCall {
  unsigned long long ms;  // GetTickCount64() when it was heard
  std::string call;       // "Speak 1 2 3 4", "WaitUntilDone -1"
};
std::vector<HeardCall> HeardCalls();
// The texts of the Speak calls, in the order they came.
std::vector<std::string> SpokenTexts();
// Waits up to `timeout_ms` until `count` Speak calls have been heard.
bool WaitToHearSpeech(size_t count = 1, int timeout_ms = 5000);
// Waits up to 5 s until `text` has been spoken.
bool WaitToHear(const std::string& text);

}  // namespace wine_test
