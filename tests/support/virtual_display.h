// A private X server (Xvfb on the first free display, as it chooses with
// -displayfd) for tests that need a real one.
#pragma once

#include <csignal>
#include <string>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace test_display {

struct VirtualDisplay {
  pid_t server = -1;
  std::string name;  // ":N"
};

// Xvfb writes the display number it took to `-displayfd` once it accepts
// connections.
inline VirtualDisplay StartVirtualDisplay() {
  VirtualDisplay display;
  int ready[2];
  if (pipe(ready) != 0) return display;
  display.server = fork();
  if (display.server == 0) {
    // The server goes with the tests also when a sanitizer or a crash ends
    // them early, and holds none of their output open: ctest waits for
    // every holder of its pipe.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    close(ready[0]);
    const int null = open("/dev/null", O_RDWR);
    for (int fd = 0; fd <= 2; ++fd) dup2(null, fd);
    for (int fd = 3; fd < 1024; ++fd)
      if (fd != ready[1]) close(fd);
    const std::string number_fd = std::to_string(ready[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", number_fd.c_str(), "-screen", "0", "1024x768x24",
           "-nolisten", "tcp", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(ready[1]);
  // The number and its newline come in two writes; the server ends if the
  // second finds the pipe closed.
  std::string number;
  char next = 0;
  while (display.server > 0 && read(ready[0], &next, 1) == 1 && next != '\n') number += next;
  close(ready[0]);
  if (next == '\n' && !number.empty()) display.name = ":" + number;
  return display;
}

inline void StopVirtualDisplay(const VirtualDisplay& display) {
  if (display.server <= 0) return;
  kill(display.server, SIGTERM);
  waitpid(display.server, nullptr, 0);
}

}  // namespace test_display
