// One connection per voice, opened on the voice's own speech thread and closed
// with the voice. libspeechd reports a message's end on a thread of its own;
// the wait also watches the socket, since a daemon that dies never reports.
#include "backends/linux/audio/dispatcher_voice.h"

#include <fcntl.h>
#include <libspeechd.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

namespace dispatcher_voice {

namespace {

// MESSAGE waits until the screen reader's messages (Orca speaks at this
// priority) are over and is not cut off by them. TEXT and below would be
// cancelled by the screen reader's next message, IMPORTANT would interrupt it.
constexpr SPDPriority kPriority = SPD_MESSAGE;

// Far above any phrase, even one queued behind a screen reader reading a long
// text. Only a daemon that lives on but never reports the end reaches it; no
// command is sent then, since a daemon that answers nothing would hold it
// forever.
constexpr std::chrono::seconds kLongestWait{30};

// libspeechd builds some commands in static buffers shared by all connections,
// so calls that send commands take turns.
std::mutex library_lock;

// What the library's event threads report, by client id: the callback gets no
// pointer of ours.
struct Listener {
  int wake = -1;             // eventfd raised at each report
  std::size_t finished = 0;  // the highest message id reported over
};
struct Listeners {
  std::mutex lock;
  std::map<std::size_t, Listener> by_client;
};
// Never destroyed: a detached speech thread may still be closing its
// connection while the process exits.
Listeners& listeners = *new Listeners;

// Runs on the connection's event thread, which spd_close cancels: cancelling
// it inside this function would leave listeners.lock held.
void OnMessageOver(std::size_t message, std::size_t client, SPDNotificationType) {
  int cancel_state = 0;
  pthread_setcancelstate(PTHREAD_CANCEL_DISABLE, &cancel_state);
  int wake = -1;
  {
    std::lock_guard<std::mutex> hold(listeners.lock);
    const auto found = listeners.by_client.find(client);
    if (found != listeners.by_client.end()) {
      found->second.finished = std::max(found->second.finished, message);
      wake = found->second.wake;
    }
  }
  const std::uint64_t one = 1;
  if (wake >= 0 && write(wake, &one, sizeof one) < 0) {
    // Only a full counter fails, and that already wakes the waiter.
  }
  pthread_setcancelstate(cancel_state, nullptr);
}

// A failed attempt starts a daemon process that refuses, and the library keeps
// a little memory of each; an alarm repeating every second or two should not
// pay that at every repetition. Kept by address, so that another address
// (SPEECHD_ADDRESS) is tried at once.
constexpr std::chrono::minutes kRetryAfterFailure{1};
struct Failure {
  std::mutex lock;
  std::string address;
  std::chrono::steady_clock::time_point when;
};
Failure& last_failure = *new Failure;  // never destroyed, as listeners

std::string AddressText(const SPDConnectionAddress& address) {
  if (address.method == SPD_METHOD_UNIX_SOCKET && address.unix_socket_name != nullptr)
    return address.unix_socket_name;
  if (address.method == SPD_METHOD_INET_SOCKET && address.inet_socket_host != nullptr)
    return std::string(address.inet_socket_host) + ":" + std::to_string(address.inet_socket_port);
  return {};
}

bool FailedLately(const std::string& address) {
  std::lock_guard<std::mutex> hold(last_failure.lock);
  return address == last_failure.address &&
         std::chrono::steady_clock::now() - last_failure.when < kRetryAfterFailure;
}

void RememberFailure(const std::string& address) {
  std::lock_guard<std::mutex> hold(last_failure.lock);
  last_failure.address = address;
  last_failure.when = std::chrono::steady_clock::now();
}

bool Finished(std::size_t client, std::size_t message) {
  std::lock_guard<std::mutex> hold(listeners.lock);
  const auto found = listeners.by_client.find(client);
  return found == listeners.by_client.end() || found->second.finished >= message;
}

}  // namespace

struct Connection {
  SPDConnection* speechd = nullptr;
  std::size_t client = 0;
  int wake = -1;
  int socket = -1;           // our own copy of the library's: tells when the daemon hung up
  std::size_t message = 0;   // the text under way; 0 when none
};

namespace {

bool DaemonGone(const Connection& connection) {
  pollfd socket = {connection.socket, POLLRDHUP, 0};
  return poll(&socket, 1, 0) != 0;
}

bool Listen(Connection& connection) {
  connection.socket = fcntl(connection.speechd->socket, F_DUPFD_CLOEXEC, 0);
  connection.wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (connection.socket < 0 || connection.wake < 0) return false;
  std::lock_guard<std::mutex> hold(library_lock);
  const int client = spd_get_client_id(connection.speechd);
  if (client <= 0) return false;
  connection.client = static_cast<std::size_t>(client);
  {
    std::lock_guard<std::mutex> listening(listeners.lock);
    listeners.by_client[connection.client] = Listener{connection.wake, 0};
  }
  // Set before the reports are switched on, so the event thread reads them set.
  connection.speechd->callback_end = OnMessageOver;
  connection.speechd->callback_cancel = OnMessageOver;
  return spd_set_notification_on(connection.speechd, SPD_END) == 0 &&
         spd_set_notification_on(connection.speechd, SPD_CANCEL) == 0;
}

}  // namespace

Connection* Connect() {
  // The library writes to the socket without guarding against a daemon that
  // has just gone; on this thread that gives an error instead of ending the
  // program.
  sigset_t broken_pipe;
  sigemptyset(&broken_pipe);
  sigaddset(&broken_pipe, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &broken_pipe, nullptr);

  char* error = nullptr;
  SPDConnectionAddress* address = spd_get_default_address(&error);
  std::free(error);
  if (address == nullptr) return nullptr;
  const std::string where = AddressText(*address);
  const bool tried = !FailedLately(where);
  SPDConnection* speechd = nullptr;
  if (tried) {
    error = nullptr;  // set only when the attempt fails
    speechd = spd_open2("quorvel", nullptr, nullptr, SPD_MODE_THREADED, address, 1, &error);
    std::free(error);
  }
  SPDConnectionAddress__free(address);
  if (speechd == nullptr) {
    if (tried) RememberFailure(where);
    return nullptr;
  }
  auto* connection = new Connection;
  connection->speechd = speechd;
  if (!Listen(*connection)) {
    Disconnect(connection);
    RememberFailure(where);
    return nullptr;
  }
  return connection;
}

bool Speak(Connection* connection, const std::string& text) {
  WaitUntilDone(connection);
  if (DaemonGone(*connection)) return false;
  std::lock_guard<std::mutex> hold(library_lock);
  const int message = spd_say(connection->speechd, kPriority, text.c_str());
  if (message <= 0) return false;
  connection->message = static_cast<std::size_t>(message);
  return true;
}

void WaitUntilDone(Connection* connection) {
  if (connection->message == 0) return;
  const auto give_up = std::chrono::steady_clock::now() + kLongestWait;
  while (!Finished(connection->client, connection->message)) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        give_up - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd watched[2] = {{connection->wake, POLLIN, 0}, {connection->socket, POLLRDHUP, 0}};
    poll(watched, 2, static_cast<int>(left.count()));
    if (watched[1].revents != 0) break;  // the daemon hung up: no report will come
    std::uint64_t reports = 0;
    if (watched[0].revents != 0 && read(connection->wake, &reports, sizeof reports) < 0) {
      // Nonblocking: another report may have emptied it already.
    }
  }
  connection->message = 0;
}

void Disconnect(Connection* connection) {
  // Joins the event thread, so no report for this client comes after it.
  if (connection->speechd != nullptr) spd_close(connection->speechd);
  {
    std::lock_guard<std::mutex> hold(listeners.lock);
    listeners.by_client.erase(connection->client);
  }
  if (connection->wake >= 0) close(connection->wake);
  if (connection->socket >= 0) close(connection->socket);
  delete connection;
}

}  // namespace dispatcher_voice
