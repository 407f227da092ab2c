// The test executable's side of the backend's seam (observer.h).
#include "backends/win32/recorder.h"

#include <windows.h>

#include <mutex>

#include "backends/win32/observer.h"
#include "support/clock_seconds.h"

namespace {

// Speech threads report here too.
struct Recorder {
  std::mutex mutex;
  std::vector<std::string> calls;
  std::int64_t clock = test_clock::SecondsAt("10:07:00");
};

Recorder& TheRecorder() {
  static Recorder recorder;
  return recorder;
}

}  // namespace

namespace win32 {

void NotePlatformCall(const std::string& call) {
  std::lock_guard<std::mutex> lock(TheRecorder().mutex);
  TheRecorder().calls.push_back(call);
}

bool FixedLocalClock(std::int64_t& local_seconds) {
  std::lock_guard<std::mutex> lock(TheRecorder().mutex);
  local_seconds = TheRecorder().clock;
  return true;
}

}  // namespace win32

namespace wine_test {

void FixClock(const std::string& hh_mm_ss, int day) {
  std::lock_guard<std::mutex> lock(TheRecorder().mutex);
  TheRecorder().clock = test_clock::SecondsAt(hh_mm_ss, day);
}

void ClearCalls() {
  std::lock_guard<std::mutex> lock(TheRecorder().mutex);
  TheRecorder().calls.clear();
}

std::vector<std::string> Calls() {
  std::lock_guard<std::mutex> lock(TheRecorder().mutex);
  return TheRecorder().calls;
}

bool WaitForCall(const std::string& prefix, int timeout_ms) {
  for (int waited = 0;; waited += 10) {
    for (const std::string& call : Calls())
      if (call.compare(0, prefix.size(), prefix) == 0) return true;
    if (waited >= timeout_ms) return false;
    ::Sleep(10);
  }
}

}  // namespace wine_test
