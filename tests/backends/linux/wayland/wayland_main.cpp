// The Wayland tests' entry point: a headless Weston for the process, the real
// window on Qt's wayland platform, no session bus, and the compositor's end
// with the process.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "backends/linux/wayland/headless_compositor.h"

test_compositor::HeadlessCompositor compositor;

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // test discovery needs no compositor
  compositor = test_compositor::StartHeadlessCompositor();
  if (compositor.runtime_folder.empty()) {
    std::fprintf(stderr, "weston did not start: no compositor for the Wayland tests\n");
    test_compositor::StopHeadlessCompositor(compositor);
    return 1;
  }
  ::setenv("XDG_RUNTIME_DIR", compositor.runtime_folder.c_str(), 1);
  ::setenv("WAYLAND_DISPLAY", test_compositor::kSocket, 1);
  ::setenv("QT_QPA_PLATFORM", "wayland", 1);
  ::unsetenv("DISPLAY");
  // A desktop without a notification service: the alarm box comes alone.
  ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + compositor.runtime_folder + "/no-bus").c_str(), 1);
  const int result = RUN_ALL_TESTS();
  // The application is left to the process's end, as the program leaves it:
  // deleting it now and then waited forever in Qt's wayland event thread. The
  // compositor ends after the process (its death signal): ended first, it
  // would have Qt's wayland platform end the process with status 1.
  std::filesystem::remove_all(compositor.runtime_folder);
  return result;
}
