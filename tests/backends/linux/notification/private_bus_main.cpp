// The notification tests' entry point: a session bus of their own for the
// whole process (the program's session connection is made once), the window
// on Qt's offscreen platform, and the bus's end once the tests are done.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "support/private_session_bus.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // test discovery needs no bus
  const test_bus::PrivateBus bus = test_bus::StartPrivateBus();
  if (bus.address.empty()) {
    std::fprintf(stderr, "dbus-daemon did not start: no session bus for the notification tests\n");
    test_bus::StopPrivateBus(bus);
    return 1;
  }
  ::setenv("DBUS_SESSION_BUS_ADDRESS", bus.address.c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const int result = RUN_ALL_TESTS();
  delete QApplication::instance();  // closes the connections before their bus goes
  test_bus::StopPrivateBus(bus);
  return result;
}
