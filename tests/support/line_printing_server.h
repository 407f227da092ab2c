// A server started for the tests that says, in one line on a descriptor it
// is told of, that it is ready and where it may be reached (Xvfb's
// -displayfd, dbus-daemon's --print-address).
#pragma once

#include <csignal>
#include <functional>
#include <string>
#include <vector>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace test_server {

struct StartedServer {
  pid_t pid = -1;
  std::string line;  // without its newline; empty when no whole line came
};

// Runs the command that `command` makes for the descriptor it is to print
// on, and waits for that line.
inline StartedServer StartAndReadLine(
    const std::function<std::vector<std::string>(const std::string& fd)>& command) {
  StartedServer server;
  int ready[2];
  if (pipe(ready) != 0) return server;
  const std::vector<std::string> arguments = command(std::to_string(ready[1]));
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  server.pid = fork();
  if (server.pid == 0) {
    // The server goes with the tests also when a sanitizer or a crash ends
    // them early, and holds none of their output open: ctest waits for
    // every holder of its pipe.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const int null = open("/dev/null", O_RDWR);
    for (int fd = 0; fd <= 2; ++fd) dup2(null, fd);
    for (int fd = 3; fd < 1024; ++fd)
      if (fd != ready[1]) close(fd);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  close(ready[1]);
  // A line may come in more than one write (Xvfb's number, then its
  // newline, and it ends if the newline finds the pipe closed).
  std::string line;
  char next = 0;
  while (server.pid > 0 && read(ready[0], &next, 1) == 1 && next != '\n') line += next;
  close(ready[0]);
  if (next == '\n') server.line = line;
  return server;
}

inline void Stop(pid_t server) {
  if (server <= 0) return;
  kill(server, SIGTERM);
  waitpid(server, nullptr, 0);
}

}  // namespace test_server
