// A private X server (Xvfb on the first free display, as it chooses with
// -displayfd) for tests that need a real one.
#pragma once

#include <string>

#include "support/line_printing_server.h"

namespace test_display {

struct VirtualDisplay {
  pid_t server = -1;
  std::string name;  // ":N"
};

// Xvfb writes the display number it took to `-displayfd` once it accepts
// connections.
inline VirtualDisplay StartVirtualDisplay() {
  const test_server::StartedServer xvfb = test_server::StartAndReadLine([](const std::string& fd) {
    return std::vector<std::string>{"Xvfb", "-displayfd", fd, "-screen", "0", "1024x768x24",
                                    "-nolisten", "tcp"};
  });
  return {xvfb.pid, xvfb.line.empty() ? "" : ":" + xvfb.line};
}

inline void StopVirtualDisplay(const VirtualDisplay& display) { test_server::Stop(display.server); }

}  // namespace test_display
