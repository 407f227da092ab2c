// A fresh fake machine for one announcement test, with its calls watched.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "announce/announcer.h"
#include "announce/speech.h"
#include "fake/fake_platform.h"

// Keeps the calls made on the test's own thread, optionally with the speech
// busy count seen right after each ("Speak hi @1"), and can hold another
// thread at a chosen call, as a voice that is still speaking.
class WatchedFake {
 public:
  explicit WatchedFake(bool note_busy_count = false) : note_busy_count_(note_busy_count) {
    fake::Reset();
    SpeechBusyCount = 0;
    fake::RecordSleeps(true);
    fake::OnCall([this](const std::string& call) { Saw(call); });
  }

  // Nothing may still call the observer once this is gone.
  ~WatchedFake() {
    Release();
    fake::JoinThreads();
    fake::OnCall(nullptr);
  }

  // The `occurrence`-th time another thread makes `call`, it waits there
  // until Release().
  void HoldAt(const std::string& call, int occurrence) {
    std::lock_guard<std::mutex> lock(mutex_);
    hold_call_ = call;
    hold_occurrence_ = occurrence;
  }
  void Release() { released_ = true; }

  std::vector<std::string> TestThreadCalls() {
    std::lock_guard<std::mutex> lock(mutex_);
    return test_thread_calls_;
  }

 private:
  void Saw(const std::string& call) {
    bool hold;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (std::this_thread::get_id() == test_thread_) {
        test_thread_calls_.push_back(
            note_busy_count_ ? call + " @" + std::to_string(SpeechBusyCount.load()) : call);
        return;
      }
      hold = call == hold_call_ && ++hold_seen_ == hold_occurrence_;
    }
    if (hold) fake::WaitUntil([this] { return released_.load(); }, 10000);
  }

  const bool note_busy_count_;
  const std::thread::id test_thread_ = std::this_thread::get_id();
  std::mutex mutex_;
  std::vector<std::string> test_thread_calls_;
  std::string hold_call_;
  int hold_occurrence_ = 0;
  int hold_seen_ = 0;
  std::atomic<bool> released_{false};
};
