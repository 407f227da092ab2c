// One connection per voice, made, used and closed on the connection's own
// thread (connection_thread.h), so that the voice's thread waits for the
// daemon only as long as each step allows. libspeechd reports a message's end
// on a thread of its own; the wait also watches the socket, since a daemon
// that dies never reports, and now and then asks the daemon whether it still
// answers, since a stopped one neither reports nor hangs up.
#include "backends/linux/audio/dispatcher_voice.h"

#include <fcntl.h>
#include <libspeechd.h>
#include <poll.h>
#include <pthread.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "backends/linux/audio/connection_thread.h"
#include "backends/linux/audio/dispatcher_failures.h"

namespace dispatcher_voice {

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// Starting the daemon takes most of it, some tenths of a second.
constexpr seconds kConnectBound{5};
// A daemon answers each command at once, even while it speaks.
constexpr seconds kReplyBound{3};
// While a text is spoken, how often the daemon is asked whether it still
// answers: a stopped daemon is found within this and kReplyBound.
constexpr seconds kAnsweringCheck{2};
// Far above any phrase, even one queued behind a screen reader reading a long
// text. Only a daemon that answers but never reports the end reaches it.
constexpr seconds kLongestWait{30};
// How often the wait looks whether the daemon hung up.
constexpr milliseconds kHangUpCheck{100};

// MESSAGE waits until the screen reader's messages (Orca speaks at this
// priority) are over and is not cut off by them. TEXT and below would be
// cancelled by the screen reader's next message, IMPORTANT would interrupt it.
// Sent as a command of our own: spd_say builds it in a buffer shared by all
// connections, which would make the connections take turns.
constexpr char kPriorityCommand[] = "SET SELF PRIORITY MESSAGE";

// The ends the library's event threads report, by message id: the daemon
// numbers the messages of all its clients in one series, so no client id is
// needed to tell whose end it is. (Asking the library for the client id
// crashes it when the daemon hangs up before it answers.) A daemon started
// again numbers from 1 anew, so each connection hears only the reports that
// came while it lived; each report goes to all of them, as the callback does
// not say which connection it is for.
constexpr std::size_t kReportsKept = 64;
struct Reports {
  std::mutex lock;
  std::condition_variable arrived;
  unsigned long connections = 0;  // made so far, to name the next
  // The latest ids reported spoken or cancelled, for each live connection.
  std::map<unsigned long, std::deque<std::size_t>> over;
};
// Never destroyed: a connection's thread may still be closing while the
// process exits.
Reports& reports = *new Reports;

// Runs on the connection's event thread, which spd_close cancels: cancelling
// it inside this function would leave reports.lock held.
void OnMessageOver(std::size_t message, std::size_t, SPDNotificationType) {
  int cancel_state = 0;
  pthread_setcancelstate(PTHREAD_CANCEL_DISABLE, &cancel_state);
  {
    std::lock_guard<std::mutex> hold(reports.lock);
    for (auto& [connection, over] : reports.over) {
      over.push_back(message);
      if (over.size() > kReportsKept) over.pop_front();
    }
  }
  reports.arrived.notify_all();
  pthread_setcancelstate(cancel_state, nullptr);
}

unsigned long StartListening() {
  std::lock_guard<std::mutex> hold(reports.lock);
  reports.connections += 1;
  reports.over[reports.connections];
  return reports.connections;
}

void StopListening(unsigned long listener) {
  std::lock_guard<std::mutex> hold(reports.lock);
  reports.over.erase(listener);
}

// Caller holds reports.lock.
bool Over(unsigned long listener, std::size_t message) {
  const std::deque<std::size_t>& over = reports.over[listener];
  return std::find(over.begin(), over.end(), message) != over.end();
}

std::string AddressText(const SPDConnectionAddress& address) {
  if (address.method == SPD_METHOD_UNIX_SOCKET && address.unix_socket_name != nullptr)
    return address.unix_socket_name;
  if (address.method == SPD_METHOD_INET_SOCKET && address.inet_socket_host != nullptr)
    return std::string(address.inet_socket_host) + ":" + std::to_string(address.inet_socket_port);
  return {};
}

// The library's calls, each run on the connection's thread.

bool Command(Held& held, const std::string& command) {
  std::string text = command;  // the library takes it writable
  return spd_execute_command(held.speechd, text.data()) == 0;
}

// The socket the voice watches for a hang-up, or -1.
int Open(Held& held, SPDConnectionAddress* address) {
  char* error = nullptr;  // set only when the attempt fails
  held.speechd = spd_open2("quorvel", nullptr, nullptr, SPD_MODE_THREADED, address, 1, &error);
  std::free(error);
  if (held.speechd == nullptr) return -1;
  held.socket = fcntl(held.speechd->socket, F_DUPFD_CLOEXEC, 0);
  // Set before the reports are switched on, so the event thread reads them set.
  held.speechd->callback_end = OnMessageOver;
  held.speechd->callback_cancel = OnMessageOver;
  const bool reporting = held.socket >= 0 && Command(held, "SET SELF NOTIFICATION END on") &&
                         Command(held, "SET SELF NOTIFICATION CANCEL on");
  return reporting ? held.socket : -1;
}

// The text as one data line: a line of a lone dot would end the data early,
// so line breaks become spaces and a leading dot is doubled, as the protocol
// asks.
std::string DataLine(const std::string& text) {
  std::string line = text;
  std::replace(line.begin(), line.end(), '\r', ' ');
  std::replace(line.begin(), line.end(), '\n', ' ');
  return !line.empty() && line[0] == '.' ? "." + line : line;
}

// "225-<id>" first, as the daemon answers a queued message.
int MessageId(const char* reply) {
  if (reply == nullptr || std::strncmp(reply, "225-", 4) != 0) return -1;
  char* end = nullptr;
  const long id = std::strtol(reply + 4, &end, 10);
  return end != reply + 4 && id > 0 && id < 1L << 30 ? static_cast<int>(id) : -1;
}

// The message id, or -1.
int Say(Held& held, const std::string& text) {
  held.queued = true;
  if (!Command(held, kPriorityCommand) || !Command(held, "SPEAK")) return -1;
  char* sent = spd_send_data(held.speechd, DataLine(text).c_str(), SPD_NO_REPLY);
  if (sent == nullptr) return -1;
  std::free(sent);
  char* reply = spd_send_data(held.speechd, "\r\n.\r\n", SPD_WAIT_REPLY);
  const int message = MessageId(reply);
  std::free(reply);
  return message;
}

}  // namespace

struct Connection {
  ConnectionThread* thread = nullptr;
  unsigned long listener = 0;
  int socket = -1;          // the connection thread's copy of the library's
  std::size_t message = 0;  // the text under way; 0 when none
};

namespace {

bool DaemonGone(const Connection& connection) {
  pollfd socket = {connection.socket, POLLRDHUP, 0};
  return poll(&socket, 1, 0) != 0;
}

// Nothing when the daemon did not answer in time.
std::optional<int> RunCommand(Connection& connection, const char* command) {
  return Run(connection.thread, [command](Held& held) { return Command(held, command) ? 0 : -1; },
             kReplyBound);
}

}  // namespace

Connection* Connect() {
  char* error = nullptr;
  SPDConnectionAddress* address = spd_get_default_address(&error);
  std::free(error);
  if (address == nullptr) return nullptr;
  const std::string where = AddressText(*address);
  ConnectionThread* thread = FailedLately(where) ? nullptr : StartConnectionThread(where);
  if (thread == nullptr) {
    SPDConnectionAddress__free(address);
    return nullptr;
  }
  const unsigned long listener = StartListening();
  // Owned by the call, which may outlive this function.
  std::shared_ptr<SPDConnectionAddress> owned(address, SPDConnectionAddress__free);
  const std::optional<int> socket =
      Run(thread, [owned](Held& held) { return Open(held, owned.get()); }, kConnectBound);
  if (!socket || *socket < 0) {
    if (socket) RememberFailure(where);  // a stuck call remembered itself
    StopListening(listener);
    EndConnectionThread(thread);
    return nullptr;
  }
  return new Connection{thread, listener, *socket};
}

bool Speak(Connection* connection, const std::string& text) {
  if (!WaitUntilDone(connection) || DaemonGone(*connection)) return false;
  const std::optional<int> message =
      Run(connection->thread, [text](Held& held) { return Say(held, text); }, kReplyBound);
  if (!message || *message <= 0) return false;
  connection->message = static_cast<std::size_t>(*message);
  return true;
}

bool WaitUntilDone(Connection* connection) {
  if (connection->message == 0) return true;
  const auto start = std::chrono::steady_clock::now();
  auto next_check = start + kAnsweringCheck;
  bool answering = true;
  std::unique_lock<std::mutex> hold(reports.lock);
  while (!Over(connection->listener, connection->message)) {
    const auto now = std::chrono::steady_clock::now();
    if (now - start >= kLongestWait) {
      // Left queued, it would be spoken later, when nobody waits for it.
      hold.unlock();
      answering = RunCommand(*connection, "CANCEL SELF").has_value();
      hold.lock();
      break;
    }
    if (now >= next_check) {
      hold.unlock();
      const std::optional<int> answer = RunCommand(*connection, kPriorityCommand);
      hold.lock();
      answering = answer.has_value();
      if (!answering || *answer != 0) break;  // stopped, or gone: no report will come
      next_check = std::chrono::steady_clock::now() + kAnsweringCheck;
      continue;
    }
    reports.arrived.wait_for(hold, kHangUpCheck);
    if (DaemonGone(*connection)) break;  // the daemon hung up: no report will come
  }
  connection->message = 0;
  return answering;
}

void Disconnect(Connection* connection) {
  StopListening(connection->listener);
  EndConnectionThread(connection->thread);
  delete connection;
}

}  // namespace dispatcher_voice
