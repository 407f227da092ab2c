// Sound checked as samples: SDL's disk driver writes what reaches the device
// (16-bit native-endian stereo at linux_audio::kDeviceRate) to each test's own file.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "backends/linux/audio/audio_device.h"
#include "wav_image.h"
#include "backends/linux/audio/tone.h"

using Samples = std::vector<std::int16_t>;

// libspeechd's spd_close ends its event thread with pthread_cancel. Under
// ThreadSanitizer a thread cancelled inside the runtime can leave the
// runtime's own locks held, and the process then hangs (seen once in three
// runs with a daemon stopped mid-command): the tests whose daemon stops or
// goes quiet mid-command run in the other builds only.
#ifdef __SANITIZE_THREAD__
inline constexpr bool kDaemonStoppedMidCommandHangsTheRuntime = true;
#else
inline constexpr bool kDaemonStoppedMidCommandHangsTheRuntime = false;
#endif
inline constexpr char kSkippedUnderThreadSanitizer[] =
    "skipped under ThreadSanitizer: pthread_cancel in libspeechd's spd_close can hang its "
    "runtime when the daemon stopped mid-command; this test runs in the plain and ASan builds";

class DiskAudio : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/quorvel-audio-XXXXXX";
    close(mkstemp(name));
    path_ = name;
    wav_ = path_ + ".wav";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", name, 1);
    Pace("0");
  }
  void TearDown() override {
    std::remove(path_.c_str());
    std::remove(wav_.c_str());
  }
  // Milliseconds the driver sleeps a 23 ms buffer; "0" writes as fast as it
  // can, which a loop must not.
  static void Pace(const char* ms) { setenv("SDL_DISKAUDIODELAY", ms, 1); }
  void WriteWav(const std::string& bytes) const { std::ofstream(wav_) << bytes; }
  void WriteTone(unsigned hz, unsigned ms) const {
    WriteWav(linux_audio::WavImage(linux_audio::Tone(hz, ms, 0.4), linux_audio::kToneRate));
  }

  std::string Output() const {
    std::ostringstream bytes;
    bytes << std::ifstream(path_).rdbuf();
    return bytes.str();
  }
  Samples LeftChannel() const {
    const std::string bytes = Output();
    Samples left(bytes.size() / 4);
    for (std::size_t i = 0; i < left.size(); ++i) std::memcpy(&left[i], &bytes[4 * i], 2);
    return left;
  }
  // A closed device writes nothing more; an open one, even a silent one,
  // goes on filling the file.
  void ExpectDeviceClosed() const {
    const std::size_t before = Output().size();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(Output().size(), before) << "the device is still open";
  }
  // Polls gently until `done`, for at most `seconds`.
  template <typename Done>
  static bool WaitFor(Done done, int seconds) {
    for (int polls = 0; !done(); ++polls) {
      if (polls == seconds * 50) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
  }

  std::string path_, wav_;
};

// From the first to one past the last sample louder than faint noise.
struct Span {
  std::size_t first = 0, end = 0;
  double Seconds() const { return double(end - first) / linux_audio::kDeviceRate; }
};
inline Span Loud(const Samples& samples) {
  Span span;
  for (std::size_t i = 0; i < samples.size(); ++i)
    if (std::abs(samples[i]) > 300) span = {span.end == 0 ? i : span.first, i + 1};
  return span;
}

inline int ZeroCrossings(const Samples& samples, Span span) {
  int crossings = 0;
  for (std::size_t i = span.first + 1; i < span.end; ++i)
    crossings += (samples[i - 1] < 0) != (samples[i] < 0);
  return crossings;
}
