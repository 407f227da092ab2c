#include "backends/linux/audio/dispatcher_failures.h"

#include <chrono>
#include <map>
#include <mutex>

namespace dispatcher_voice {

namespace {

// A failed attempt starts a daemon process that refuses, and the library keeps
// a little memory of each; a daemon that does not answer leaves a thread
// behind at each attempt. An alarm repeating every second or two should pay
// neither at every repetition.
constexpr std::chrono::minutes kRetryAfterFailure{1};

struct Record {
  std::chrono::steady_clock::time_point failed;
  int stuck_calls = 0;
};
struct Failures {
  std::mutex lock;
  std::map<std::string, Record> by_address;
};
// Never destroyed: a thread left stuck in the library may return to it while
// the process exits.
Failures& failures = *new Failures;

}  // namespace

bool FailedLately(const std::string& address) {
  std::lock_guard<std::mutex> hold(failures.lock);
  const auto found = failures.by_address.find(address);
  return found != failures.by_address.end() &&
         (found->second.stuck_calls > 0 ||
          std::chrono::steady_clock::now() - found->second.failed < kRetryAfterFailure);
}

void RememberFailure(const std::string& address) {
  std::lock_guard<std::mutex> hold(failures.lock);
  failures.by_address[address].failed = std::chrono::steady_clock::now();
}

void RememberStuckCall(const std::string& address) {
  std::lock_guard<std::mutex> hold(failures.lock);
  Record& record = failures.by_address[address];
  record.failed = std::chrono::steady_clock::now();
  record.stuck_calls += 1;
}

// The minute counts from the return: the daemon just came back from a stall.
void ForgetStuckCall(const std::string& address) {
  std::lock_guard<std::mutex> hold(failures.lock);
  Record& record = failures.by_address[address];
  record.failed = std::chrono::steady_clock::now();
  record.stuck_calls -= 1;
}

}  // namespace dispatcher_voice
