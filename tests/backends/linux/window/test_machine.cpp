#include "backends/linux/window/test_machine.h"

#include <algorithm>
#include <mutex>

#include "platform/platform.h"
#include "support/clock_seconds.h"

namespace {

// Speech threads record too.
struct Machine {
  std::mutex mutex;
  std::int64_t clock = 0;
  std::vector<std::string> calls;
};

Machine& TheMachine() {
  static Machine machine;
  return machine;
}

void Record(const std::string& call) {
  std::lock_guard<std::mutex> lock(TheMachine().mutex);
  TheMachine().calls.push_back(call);
}

}  // namespace

struct platform::Voice {};

namespace test_machine {

void SetClock(const std::string& hh_mm_ss, int day) {
  std::lock_guard<std::mutex> lock(TheMachine().mutex);
  TheMachine().clock = test_clock::SecondsAt(hh_mm_ss, day);
}

std::vector<std::string> Calls() {
  std::lock_guard<std::mutex> lock(TheMachine().mutex);
  return TheMachine().calls;
}

bool Called(const std::string& call) {
  const std::vector<std::string> calls = Calls();
  return std::find(calls.begin(), calls.end(), call) != calls.end();
}

void ClearCalls() {
  std::lock_guard<std::mutex> lock(TheMachine().mutex);
  TheMachine().calls.clear();
}

}  // namespace test_machine

namespace platform {

std::int64_t LocalClockSeconds() {
  std::lock_guard<std::mutex> lock(TheMachine().mutex);
  return TheMachine().clock;
}

void PlaySoundSync(const std::string& path) { Record("PlaySoundSync " + path); }
void PlaySoundLoop(const std::string& path) { Record("PlaySoundLoop " + path); }
void StopSound() { Record("StopSound"); }

void EnterSpeechThread() {}
void LeaveSpeechThread() {}
Voice* CreateVoice() { return new Voice; }
void Speak(Voice*, const std::string& text) { Record("Speak " + text); }
void WaitUntilDone(Voice*) {}
void ReleaseVoice(Voice* voice) { delete voice; }
void Beep(unsigned frequency_hz, unsigned duration_ms) {
  Record("Beep " + std::to_string(frequency_hz) + " " + std::to_string(duration_ms));
}

}  // namespace platform
