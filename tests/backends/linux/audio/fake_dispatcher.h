// A speech-dispatcher stand-in on a socket of the test's own (SPEECHD_ADDRESS
// points to it while it lives), for daemons that misbehave at a chosen step.
// It answers every command as the daemon would and reports each message over
// at once. With a fault it reports no end, and at `step` (counting the
// commands and each message's end of data from 1) it goes quiet for good or
// answers and then hangs up.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class FakeDispatcher {
 public:
  enum class Fault { kNone, kNeverEnds, kGoQuiet, kHangUp };
  struct Script {
    int step = 0;
    Fault fault = Fault::kNone;
    int hang_up_after_ms = 0;
  };
  explicit FakeDispatcher(const Script& script);
  // Closes every connection, which frees any call still waiting on it.
  ~FakeDispatcher();
  FakeDispatcher(const FakeDispatcher&) = delete;
  FakeDispatcher& operator=(const FakeDispatcher&) = delete;

  // The command lines received so far in upper case, data lines left out.
  std::vector<std::string> Received() const;

 private:
  void Serve();
  void Talk(int client);

  Script script_;
  std::string folder_, socket_path_, saved_address_;
  int listening_ = -1;
  int stop_[2] = {-1, -1};
  std::atomic<int> step_{0};
  mutable std::mutex lock_;
  std::vector<std::string> received_;
  std::vector<int> clients_;
  std::thread server_;
};
