#include <pthread.h>
#include <time.h>

#include <cerrno>
#include <memory>

#include "platform/platform.h"

struct platform::Thread {};  // started detached: nothing is left to close

namespace platform {

namespace {

constexpr size_t kStackBytes = 1024 * 1024;

struct ThreadStart {
  ThreadBody body;
  std::string text;
};

void* RunThread(void* parameter) {
  std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(parameter));
  start->body(std::move(start->text));
  return nullptr;
}

}  // namespace

// Detached: nobody ever waits for these threads, and they end with the
// process.
Thread* StartThread(ThreadBody body, std::string text) {
  auto start = std::make_unique<ThreadStart>(ThreadStart{body, std::move(text)});
  pthread_attr_t attributes;
  if (::pthread_attr_init(&attributes) != 0) return nullptr;
  ::pthread_attr_setstacksize(&attributes, kStackBytes);
  ::pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  pthread_t thread;
  const bool started = ::pthread_create(&thread, &attributes, RunThread, start.get()) == 0;
  ::pthread_attr_destroy(&attributes);
  if (!started) return nullptr;
  start.release();  // the thread owns it now
  return new Thread;
}

void CloseThread(Thread* thread) { delete thread; }

void Sleep(unsigned milliseconds) {
  struct timespec rest = {static_cast<time_t>(milliseconds / 1000),
                          static_cast<long>(milliseconds % 1000) * 1000000L};
  while (::nanosleep(&rest, &rest) != 0 && errno == EINTR) {
  }
}

}  // namespace platform
