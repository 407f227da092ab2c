// What the speech and sound latency benchmarks share: the wait between runs and the
// median of the runs.
#pragma once

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "announce/sound_task.h"
#include "announce/speech.h"

// Until the last utterance or sound effect has ended (and its sound device is
// closed), for at most `timeout`.
inline bool WaitForQuiet(std::chrono::milliseconds timeout) {
  const auto give_up = std::chrono::steady_clock::now() + timeout;
  while (SpeechBusyCount.load() != 0 || SoundBusyCount.load() != 0) {
    if (std::chrono::steady_clock::now() > give_up) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
