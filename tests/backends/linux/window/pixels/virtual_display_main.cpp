// The pixel tests' entry point: a private X server (Xvfb on the first free
// display, as it chooses with -displayfd) for the process, the real window on
// Qt's xcb platform, and the server's end once the tests are done.
#include <gtest/gtest.h>

#include <QApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct VirtualDisplay {
  pid_t server = -1;
  std::string name;  // ":N"
};

// Xvfb writes the display number it took to `-displayfd` once it accepts
// connections.
VirtualDisplay StartVirtualDisplay() {
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

void StopVirtualDisplay(const VirtualDisplay& display) {
  if (display.server <= 0) return;
  kill(display.server, SIGTERM);
  waitpid(display.server, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // test discovery needs no display
  const VirtualDisplay display = StartVirtualDisplay();
  if (display.name.empty()) {
    std::fprintf(stderr, "Xvfb did not start: no display for the pixel tests\n");
    StopVirtualDisplay(display);
    return 1;
  }
  ::setenv("DISPLAY", display.name.c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  ::unsetenv("WAYLAND_DISPLAY");
  const int result = RUN_ALL_TESTS();
  delete QApplication::instance();  // closes the connection before its server goes
  StopVirtualDisplay(display);
  return result;
}
