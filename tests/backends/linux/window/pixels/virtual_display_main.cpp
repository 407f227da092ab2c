// The pixel tests' entry point: a private X server for the process, the real
// window on Qt's xcb platform, and the server's end once the tests are done.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "support/virtual_display.h"

using test_display::StartVirtualDisplay;
using test_display::StopVirtualDisplay;
using test_display::VirtualDisplay;


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
