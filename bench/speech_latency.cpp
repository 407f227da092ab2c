// How soon speech, or a sound file, is heard once the clock tick hands a
// phrase over.
//
//   quorvel_speech_latency [RUNS [PHRASE]]     (defaults: 10, "1 2 3 4")
//
// Each run calls the core's Announce(PHRASE) on this thread, as ClockTick
// does, with the real audio backend's fallback (espeak-ng and SDL2, with
// speech-dispatcher refusing to start) playing through SDL's disk driver into
// a fresh file. A second thread reads that file every millisecond. The disk
// driver writes one mixer buffer per buffer period and then sleeps for
// SDL_DISKAUDIODELAY ms (by default one buffer's length), so the file fills
// at the pace of a sound card and a sample's byte position tells when it would
// be heard. Two times are taken from the announcement:
//
//   heard   - when the file appeared (the device opened) plus the first
//             non-silent sample's position in it at 44,100 frames a second;
//   written - when that sample was first seen in the file. The driver writes
//             through stdio, which holds every other buffer back until the
//             next one, so this runs up to a buffer late: an upper bound.
//
// A real sound card adds its own output latency (a buffer or two) to heard.
// Run 1 also pays for loading the speech engine, as the first announcement of
// a session does; it is shown alone and counted in the maximum, not the median.
// A PHRASE naming a WAV file is played as a rule's sound is, and its lines
// are named wav_ instead of speech_.
// Prints "name value" lines for bench/table.py; the runs go to stderr.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "announce/announcer.h"
#include "announce/speech.h"
#include "speech_runs.h"
#include "text/text_case.h"
#include "backends/linux/audio/audio_device.h"
#include "private_dispatcher.h"

namespace {

using Clock = std::chrono::steady_clock;

// About -60 dB below full scale: quieter than this is silence to a listener.
constexpr int kSilence = 32;
constexpr int kBytesPerFrame = linux_audio::kDeviceChannels * 2;
constexpr double kTimeoutSeconds = 10;

double MsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

struct RunResult {
  bool heard = false;
  double heard_ms = 0;
  double written_ms = 0;
  double silence_ms = 0;  // the silence the device played before the speech
};

// Watches `path` from `start` until a non-silent sample shows or `stop` is set.
void WatchFile(const std::string& path, Clock::time_point start, const std::atomic<bool>& stop,
               RunResult& result) {
  int file = -1;
  Clock::time_point opened;
  std::vector<char> bytes;
  off_t offset = 0;
  std::size_t scanned = 0;  // samples already found silent
  while (!stop.load() && MsBetween(start, Clock::now()) < kTimeoutSeconds * 1e3) {
    if (file < 0) {
      file = ::open(path.c_str(), O_RDONLY);
      if (file >= 0) opened = Clock::now();
    }
    if (file >= 0) {
      char buffer[65536];
      ssize_t got;
      while ((got = ::pread(file, buffer, sizeof buffer, offset)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + got);
        offset += got;
      }
      // Whole frames only: a write may be seen half done.
      const std::size_t frames = bytes.size() / kBytesPerFrame;
      const auto* samples = reinterpret_cast<const std::int16_t*>(bytes.data());
      for (std::size_t i = scanned; i < frames * linux_audio::kDeviceChannels; ++i) {
        if (std::abs(static_cast<int>(samples[i])) < kSilence) {
          scanned = i + 1;
          continue;
        }
        const Clock::time_point seen = Clock::now();
        const double position_ms =
            static_cast<double>(i / linux_audio::kDeviceChannels) * 1e3 / linux_audio::kDeviceRate;
        result.heard = true;
        result.written_ms = MsBetween(start, seen);
        result.heard_ms = MsBetween(start, opened) + position_ms;
        result.silence_ms = position_ms;
        ::close(file);
        return;
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (file >= 0) ::close(file);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  const std::string phrase = argc > 2 ? argv[2] : "1 2 3 4";
  setenv("SDL_AUDIODRIVER", "disk", 1);
  // espeak-ng's path: a speech-dispatcher that refuses to start.
  const PrivateDispatcher refusing({"DisableAutoSpawn"});
  char folder_template[] = "/tmp/quorvel-speech-XXXXXX";
  const char* folder = mkdtemp(folder_template);
  if (folder == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const char* delay = std::getenv("SDL_DISKAUDIODELAY");
  std::fprintf(stderr, "Speaking \"%s\" %d times; disk driver pacing: %s\n", phrase.c_str(), runs,
               delay != nullptr ? delay : "one buffer's length (SDL's default)");

  std::vector<RunResult> results;
  for (int run = 1; run <= runs; ++run) {
    const std::string path = std::string(folder) + "/run-" + std::to_string(run) + ".raw";
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);  // read by SDL at each device opening
    RunResult result;
    std::atomic<bool> stop{false};
    const Clock::time_point start = Clock::now();
    std::thread watcher(WatchFile, path, start, std::cref(stop), std::ref(result));
    Announce(phrase);
    const bool quiet = WaitForQuiet(std::chrono::seconds(static_cast<int>(kTimeoutSeconds)));
    stop = true;
    watcher.join();
    ::unlink(path.c_str());
    if (!result.heard || !quiet) {
      std::fprintf(stderr, "run %d: %s\n", run,
                   result.heard ? "the speech did not end" : "no speech heard");
      ::rmdir(folder);
      return 1;
    }
    std::fprintf(stderr, "run %2d: heard %6.1f ms, written %6.1f ms (%.1f ms of silence first)\n",
                 run, result.heard_ms, result.written_ms, result.silence_ms);
    results.push_back(result);
  }
  ::rmdir(folder);

  std::vector<double> heard, written, warm_heard, warm_written;
  for (std::size_t i = 0; i < results.size(); ++i) {
    heard.push_back(results[i].heard_ms);
    written.push_back(results[i].written_ms);
    if (i > 0 || results.size() == 1) {
      warm_heard.push_back(results[i].heard_ms);
      warm_written.push_back(results[i].written_ms);
    }
  }
  const char* kind = ContainsWav(phrase) ? "wav" : "speech";
  std::printf("%s_runs %zu\n", kind, results.size());
  std::printf("%s_first_heard_ms %.1f\n", kind, results.front().heard_ms);
  std::printf("%s_heard_median_ms %.1f\n", kind, Median(warm_heard));
  std::printf("%s_heard_max_ms %.1f\n", kind, *std::max_element(heard.begin(), heard.end()));
  std::printf("%s_written_median_ms %.1f\n", kind, Median(warm_written));
  std::printf("%s_written_max_ms %.1f\n", kind,
              *std::max_element(written.begin(), written.end()));
  return 0;
}
