#include "backends/linux/audio/connection_thread.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <condition_variable>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <set>
#include <string>
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

// The program's end must not wait for a daemon either. Each connection's
// library thread (libspeechd 0.11; 0.12 reads the socket directly) reads the
// socket through a stream and holds that stream's lock while it waits; exit() takes the lock of every open stream (glibc 2.39
// and later), so one connection still open, or left behind with a call to a
// stopped daemon, would keep the process from ending. At exit every socket
// to a daemon we spoke to is shut down: the reads return, the locks are let
// go. The library made the socket, and a call left behind may not have
// returned it yet, so the sockets are found by their peer's address.
struct Addresses {
  std::mutex lock;
  bool handled = false;                // the exit handler is registered
  std::set<std::string> unix_sockets;  // the daemon's socket files
  std::set<in_port_t> ports;           // TCP, in network order
};
// Never destroyed: read by the exit handler, after the statics may be gone.
Addresses& addresses = *new Addresses;

// `address` as dispatcher_voice names it: a socket file, or "host:port".
// True the first time, when the exit handler is due.
bool Remember(const std::string& address) {
  std::lock_guard<std::mutex> hold(addresses.lock);
  const bool first = !addresses.handled;
  addresses.handled = true;
  if (!address.empty() && address[0] == '/')
    addresses.unix_sockets.insert(address);
  else if (address.rfind(':') != std::string::npos)
    addresses.ports.insert(htons(static_cast<in_port_t>(
        std::strtoul(address.c_str() + address.rfind(':') + 1, nullptr, 10))));
  return first;
}

// Caller holds addresses.lock.
bool ToADaemon(int descriptor) {
  sockaddr_storage peer{};
  socklen_t size = sizeof peer;
  if (getpeername(descriptor, reinterpret_cast<sockaddr*>(&peer), &size) != 0) return false;
  switch (peer.ss_family) {
    case AF_UNIX: {
      const auto& name = reinterpret_cast<const sockaddr_un&>(peer);
      const std::size_t length = size - offsetof(sockaddr_un, sun_path);
      return addresses.unix_sockets.count(
                 std::string(name.sun_path, strnlen(name.sun_path, length))) > 0;
    }
    case AF_INET:
      return addresses.ports.count(reinterpret_cast<const sockaddr_in&>(peer).sin_port) > 0;
    case AF_INET6:
      return addresses.ports.count(reinterpret_cast<const sockaddr_in6&>(peer).sin6_port) > 0;
  }
  return false;
}

void ShutDownDaemonSockets() {
  DIR* open = opendir("/proc/self/fd");
  if (open == nullptr) return;
  std::lock_guard<std::mutex> hold(addresses.lock);
  while (const dirent* entry = readdir(open)) {
    if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;  // "." and ".."
    const int descriptor = std::atoi(entry->d_name);
    if (descriptor != dirfd(open) && ToADaemon(descriptor)) shutdown(descriptor, SHUT_RDWR);
  }
  closedir(open);
}

}  // namespace

struct ConnectionThread {
  std::shared_ptr<Shared> shared;
};

ConnectionThread* StartConnectionThread(const std::string& address) {
  if (Remember(address)) std::atexit(ShutDownDaemonSockets);
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
