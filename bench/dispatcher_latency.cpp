// How soon an announcement reaches speech-dispatcher's output module.
//
//   quorvel_dispatcher_latency [RUNS [PHRASE]]     (defaults: 10, "1 2 3 4")
//
// Each run calls the core's Announce(PHRASE) on this thread, as ClockTick
// does, with the real Linux backend and a speech-dispatcher of the benchmark's
// own (a private configuration and runtime folder, as the tests use). Its
// output module writes each text it is given to a file; a second thread reads
// the file's size every millisecond and takes the time the text landed there.
// A real synthesiser starts sounding a little after that. Run 1 also pays for
// starting the daemon, as the first announcement of a session does: it is
// shown alone and counted in the maximum, not the median. Prints "name value"
// lines for bench/table.py; the runs go to stderr.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "announce/announcer.h"
#include "announce/speech.h"
#include "speech_runs.h"
#include "private_dispatcher.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kTimeoutMs = 10e3;

double MsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// Until the module has been given one more text than `before`; -1 on timeout.
double WatchSpoken(const PrivateDispatcher& speechd, std::size_t before, Clock::time_point start,
                   const std::atomic<bool>& stop) {
  for (;;) {
    if (speechd.Spoken().size() > before) return MsBetween(start, Clock::now());
    if (stop.load() || MsBetween(start, Clock::now()) > kTimeoutMs) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}


}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  const std::string phrase = argc > 2 ? argv[2] : "1 2 3 4";
  const PrivateDispatcher speechd({"DefaultLanguage \"en\""});
  std::fprintf(stderr, "Announcing \"%s\" %d times through speech-dispatcher\n", phrase.c_str(),
               runs);
  std::vector<double> reached;
  for (int run = 1; run <= runs; ++run) {
    const std::size_t before = speechd.Spoken().size();
    std::atomic<bool> stop{false};
    double ms = -1;
    const Clock::time_point start = Clock::now();
    std::thread watcher([&] { ms = WatchSpoken(speechd, before, start, stop); });
    Announce(phrase);
    const bool quiet = WaitForQuiet(std::chrono::milliseconds(static_cast<int>(kTimeoutMs)));
    stop = true;
    watcher.join();
    if (ms < 0 || !quiet) {
      std::fprintf(stderr, "run %d: %s\n", run, ms < 0 ? "the text never arrived" : "no end");
      return 1;
    }
    std::fprintf(stderr, "run %2d: at the module after %6.1f ms\n", run, ms);
    reached.push_back(ms);
  }
  const std::vector<double> warm(reached.size() > 1 ? reached.begin() + 1 : reached.begin(),
                                 reached.end());
  std::printf("dispatcher_runs %zu\n", reached.size());
  std::printf("dispatcher_first_ms %.1f\n", reached.front());
  std::printf("dispatcher_median_ms %.1f\n", Median(warm));
  std::printf("dispatcher_max_ms %.1f\n", *std::max_element(reached.begin(), reached.end()));
  return 0;
}
