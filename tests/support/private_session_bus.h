// A session bus of the tests' own (dbus-daemon) in a folder of its own. Only
// what a test registers on it is there, unless it is to start the desktop
// session's services as well (the accessibility bus among them).
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "support/line_printing_server.h"

namespace test_bus {

enum class Services { kNone, kDesktopSession };

struct PrivateBus {
  pid_t daemon = -1;
  std::string folder;
  std::string address;  // empty when it did not start
};

inline PrivateBus StartPrivateBus(Services services = Services::kNone) {
  PrivateBus bus;
  char name[] = "/tmp/quorvel-bus-XXXXXX";
  if (mkdtemp(name) == nullptr) return bus;
  bus.folder = name;
  const std::string config = bus.folder + "/bus.conf";
  std::ofstream(config) << "<busconfig><type>session</type><listen>unix:dir=" << bus.folder
                        << "</listen><auth>EXTERNAL</auth>"
                        << (services == Services::kDesktopSession ? "<standard_session_servicedirs/>"
                                                               : "")
                        << "<policy context=\"default\">"
                           "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                           "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n";
  // The address comes once the daemon listens.
  const test_server::StartedServer daemon =
      test_server::StartAndReadLine([&config](const std::string& fd) {
        return std::vector<std::string>{"dbus-daemon", "--nofork", "--config-file=" + config,
                                        "--print-address=" + fd};
      });
  bus.daemon = daemon.pid;
  bus.address = daemon.line;
  return bus;
}

inline void StopPrivateBus(const PrivateBus& bus) {
  test_server::Stop(bus.daemon);
  if (!bus.folder.empty()) std::remove((bus.folder + "/bus.conf").c_str());
  // The daemon removes its socket; the folder is then empty.
  if (!bus.folder.empty()) rmdir(bus.folder.c_str());
}

}  // namespace test_bus
