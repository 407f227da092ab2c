#include "backends/linux/audio/connection_thread.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "backends/linux/audio/dispatcher_failures.h"

namespace dispatcher_voice {

namespace {

// Between the voice's thread and the connection's; shared, since either may
// be the last to let go.
struct Shared {
  std::mutex lock;
  std::condition_variable changed;
  LibraryCall call;          // posted, not yet taken
  unsigned long returned = 0;  // calls that have returned
  int result = 0;            // the last one's
  bool ending = false;       // no more calls will come
  bool left_behind = false;  // a call overran its bound
  std::string address;
};

void RunThread(std::shared_ptr<Shared> shared) {
  // The library writes to the socket without guarding against a daemon that
  // has just gone; on this thread (and the library's event thread, started
  // from it) that gives an error instead of ending the program.
  sigset_t broken_pipe;
  sigemptyset(&broken_pipe);
  sigaddset(&broken_pipe, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &broken_pipe, nullptr);

  Held held;  // this thread's alone
  std::unique_lock<std::mutex> hold(shared->lock);
  for (;;) {
    shared->changed.wait(hold, [&] { return shared->call || shared->ending; });
    // A call given up on before it was taken is not made at all.
    if (!shared->call || shared->left_behind) break;
    LibraryCall call = std::move(shared->call);
    shared->call = nullptr;
    hold.unlock();
    const int result = call(held);
    hold.lock();
    shared->result = result;
    shared->returned += 1;
    shared->changed.notify_all();
  }
  const bool left_behind = shared->left_behind;
  hold.unlock();
  if (held.speechd != nullptr) {
    // Closing leaves queued messages to be spoken; one given up on would be
    // heard late, after the user dismissed its alarm.
    if (left_behind && held.queued) spd_cancel(held.speechd);
    spd_close(held.speechd);
  }
  if (held.socket >= 0) close(held.socket);
  if (left_behind) ForgetStuckCall(shared->address);
}

}  // namespace

struct ConnectionThread {
  std::shared_ptr<Shared> shared;
};

ConnectionThread* StartConnectionThread(const std::string& address) {
  auto shared = std::make_shared<Shared>();
  shared->address = address;
  try {
    std::thread(RunThread, shared).detach();
  } catch (const std::system_error&) {
    return nullptr;
  }
  return new ConnectionThread{shared};
}

std::optional<int> Run(ConnectionThread* thread, LibraryCall call,
                       std::chrono::milliseconds bound) {
  Shared& shared = *thread->shared;
  std::unique_lock<std::mutex> hold(shared.lock);
  if (shared.ending) return std::nullopt;
  const unsigned long awaited = shared.returned + 1;
  shared.call = std::move(call);
  shared.changed.notify_all();
  if (shared.changed.wait_for(hold, bound, [&] { return shared.returned >= awaited; }))
    return shared.result;
  shared.ending = true;
  shared.left_behind = true;
  RememberStuckCall(shared.address);
  return std::nullopt;
}

void EndConnectionThread(ConnectionThread* thread) {
  {
    std::lock_guard<std::mutex> hold(thread->shared->lock);
    thread->shared->ending = true;
  }
  thread->shared->changed.notify_all();
  delete thread;
}

}  // namespace dispatcher_voice
