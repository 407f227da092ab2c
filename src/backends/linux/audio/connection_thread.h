// libspeechd waits for the daemon's replies with no limit, and a daemon that
// is stopped or stuck on its sound device never gives them. So each
// connection's library calls run on a thread of its own, which the voice's
// thread waits for with a bound. A call that overruns is left behind with
// everything it touches: the thread cancels what it may have queued and
// closes the connection whenever the call returns, and holds no lock anyone
// else needs while it waits. At the program's end the sockets of all
// connections are shut down, so that exit waits for none of them.
#pragma once

#include <libspeechd.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace dispatcher_voice {

// What a connection's thread owns, for its calls.
struct Held {
  SPDConnection* speechd = nullptr;
  int socket = -1;      // closed with the connection
  bool queued = false;  // a message may be under way: cancelled when left behind
};
using LibraryCall = std::function<int(Held& held)>;

struct ConnectionThread;

// For the daemon at `address`. Null when no thread can be started.
ConnectionThread* StartConnectionThread(const std::string& address);
// Runs `call` on the thread and returns its result, or nothing when it did
// not return within `bound`: the thread is then left behind, the daemon
// remembered as failed and stuck until the call returns, and nothing more
// may be run on it (Run gives nothing at once).
std::optional<int> Run(ConnectionThread* thread, LibraryCall call,
                       std::chrono::milliseconds bound);
// Lets go of the thread without waiting: it closes the connection and ends.
void EndConnectionThread(ConnectionThread* thread);

}  // namespace dispatcher_voice
