#include "fake_dispatcher.h"

#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstring>
#include <filesystem>

namespace {

bool Send(int client, const std::string& text) {
  const ssize_t sent = ::send(client, text.data(), text.size(), MSG_NOSIGNAL);
  return sent == static_cast<ssize_t>(text.size());
}

}  // namespace

FakeDispatcher::FakeDispatcher(const Script& script) : script_(script) {
  char name[] = "/tmp/quorvel-fake-speechd-XXXXXX";
  folder_ = ::mkdtemp(name);
  socket_path_ = folder_ + "/speechd.sock";
  listening_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socket_path_.c_str(), sizeof address.sun_path - 1);
  ::bind(listening_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::listen(listening_, 8);
  ::pipe(stop_);
  const char* old = ::getenv("SPEECHD_ADDRESS");
  saved_address_ = old == nullptr ? "" : old;
  ::setenv("SPEECHD_ADDRESS", ("unix_socket:" + socket_path_).c_str(), 1);
  server_ = std::thread(&FakeDispatcher::Serve, this);
}

FakeDispatcher::~FakeDispatcher() {
  ::write(stop_[1], "x", 1);
  server_.join();
  for (const int client : clients_) ::close(client);
  ::close(listening_);
  ::close(stop_[0]);
  ::close(stop_[1]);
  if (saved_address_.empty())
    ::unsetenv("SPEECHD_ADDRESS");
  else
    ::setenv("SPEECHD_ADDRESS", saved_address_.c_str(), 1);
  std::filesystem::remove_all(folder_);
}

std::vector<std::string> FakeDispatcher::Received() const {
  std::lock_guard<std::mutex> hold(lock_);
  return received_;
}

// One connection at a time, as the voice makes them.
void FakeDispatcher::Serve() {
  for (;;) {
    pollfd watched[2] = {{listening_, POLLIN, 0}, {stop_[0], POLLIN, 0}};
    ::poll(watched, 2, -1);
    if (watched[1].revents != 0) return;
    const int client = ::accept4(listening_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    {
      std::lock_guard<std::mutex> hold(lock_);
      clients_.push_back(client);
    }
    Talk(client);
  }
}

void FakeDispatcher::Talk(int client) {
  std::string pending;
  bool in_data = false, quiet = false;
  int message = 0;
  for (;;) {
    pollfd watched[2] = {{client, POLLIN, 0}, {stop_[0], POLLIN, 0}};
    ::poll(watched, 2, -1);
    if (watched[1].revents != 0) return;
    char buffer[512];
    const ssize_t got = ::read(client, buffer, sizeof buffer);
    if (got <= 0) return;
    pending.append(buffer, static_cast<std::size_t>(got));
    for (std::size_t end; (end = pending.find("\r\n")) != std::string::npos;) {
      const std::string line = pending.substr(0, end);
      pending.erase(0, end + 2);
      std::string reply;
      if (in_data) {
        if (line != ".") continue;
        in_data = false;
        message += 1;
        const std::string id = std::to_string(message);
        reply = "225-" + id + "\r\n225 OK MESSAGE QUEUED\r\n";
        if (script_.fault == Fault::kNone)
          reply += "702-" + id + "\r\n702-1\r\n702 END\r\n";
      } else {
        // Commands are case-blind, and the library sends some in lower case.
        std::string command = line;
        for (char& c : command) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        {
          std::lock_guard<std::mutex> hold(lock_);
          received_.push_back(command);
        }
        if (command == "SPEAK") {
          in_data = true;
          reply = "230 OK RECEIVING DATA\r\n";
        } else if (command == "HISTORY GET CLIENT_ID") {
          reply = "245-1\r\n245 OK CLIENT ID SENT\r\n";
        } else {
          reply = "200 OK\r\n";
        }
      }
      const int step = ++step_;
      if (quiet || (step == script_.step && script_.fault == Fault::kGoQuiet)) {
        quiet = true;
        continue;
      }
      if (!Send(client, reply)) return;
      if (step == script_.step && script_.fault == Fault::kHangUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(script_.hang_up_after_ms));
        ::shutdown(client, SHUT_RDWR);
        return;
      }
    }
  }
}
