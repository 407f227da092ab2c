// The accessibility tests' entry point: an X server and a session bus of
// their own, accessibility switched on there as a screen reader switches it
// on, and both ended once the tests are done.
#include <gio/gio.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "backends/linux/accessibility/screen_reader_view.h"
#include "support/private_session_bus.h"
#include "support/virtual_display.h"

namespace {

// What Orca does as it starts: the programs then open their bridges.
bool SwitchAccessibilityOn() {
  GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
  if (bus == nullptr) return false;
  GVariant* reply = g_dbus_connection_call_sync(
      bus, "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
      g_variant_new("(ssv)", "org.a11y.Status", "IsEnabled", g_variant_new_boolean(TRUE)),
      nullptr, G_DBUS_CALL_FLAGS_NONE, 10000, nullptr, nullptr);
  if (reply != nullptr) g_variant_unref(reply);
  g_object_unref(bus);
  return reply != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // discovery needs neither
#ifdef __SANITIZE_THREAD__
  return RUN_ALL_TESTS();  // every test skips, saying why: no bus is started
#endif
  const test_display::VirtualDisplay display = test_display::StartVirtualDisplay();
  // With the desktop session's services: the accessibility bus starts when asked for.
  const test_bus::PrivateBus bus = test_bus::StartPrivateBus(test_bus::Services::kDesktopSession);
  int result = 1;
  if (display.name.empty() || bus.address.empty()) {
    std::fprintf(stderr, "Xvfb or dbus-daemon did not start\n");
  } else {
    ::setenv("DISPLAY", display.name.c_str(), 1);
    ::setenv("DBUS_SESSION_BUS_ADDRESS", bus.address.c_str(), 1);
    if (!SwitchAccessibilityOn()) {
      std::fprintf(stderr, "no accessibility bus (at-spi2-core) on the session bus\n");
    } else {
      atspi_init();
      atspi_set_timeout(3000, 10000);  // every call to the program is bounded
      screen_reader::StartListening();
      result = RUN_ALL_TESTS();
      screen_reader::StopListening();
      atspi_exit();
    }
  }
  test_bus::StopPrivateBus(bus);
  test_display::StopVirtualDisplay(display);
  return result;
}
