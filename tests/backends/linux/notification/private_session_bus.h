// A session bus of the tests' own (dbus-daemon), with no services to start:
// only what a test registers on it is there.
#pragma once

#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace test_bus {

struct PrivateBus {
  pid_t daemon = -1;
  std::string folder;
  std::string address;  // empty when it did not start
};

inline PrivateBus StartPrivateBus() {
  PrivateBus bus;
  char name[] = "/tmp/quorvel-bus-XXXXXX";
  if (mkdtemp(name) == nullptr) return bus;
  bus.folder = name;
  const std::string config = bus.folder + "/bus.conf";
  std::ofstream(config) << "<busconfig><type>session</type><listen>unix:dir=" << bus.folder
                        << "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                           "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                           "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n";
  int ready[2];
  if (pipe(ready) != 0) return bus;
  bus.daemon = fork();
  if (bus.daemon == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);  // goes with the tests, however they end
    close(ready[0]);
    const int null = open("/dev/null", O_RDWR);
    for (int fd = 0; fd <= 2; ++fd) dup2(null, fd);
    const std::string address_fd = std::to_string(ready[1]);
    execlp("dbus-daemon", "dbus-daemon", "--nofork", ("--config-file=" + config).c_str(),
           ("--print-address=" + address_fd).c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(ready[1]);
  // The address comes once the daemon listens, ended by a newline.
  char next = 0;
  std::string address;
  while (bus.daemon > 0 && read(ready[0], &next, 1) == 1 && next != '\n') address += next;
  close(ready[0]);
  if (next == '\n') bus.address = address;
  return bus;
}

inline void StopPrivateBus(const PrivateBus& bus) {
  if (bus.daemon > 0) {
    kill(bus.daemon, SIGTERM);
    waitpid(bus.daemon, nullptr, 0);
  }
  if (!bus.folder.empty()) std::remove((bus.folder + "/bus.conf").c_str());
  // The daemon removes its socket; the folder is then empty.
  if (!bus.folder.empty()) rmdir(bus.folder.c_str());
}

}  // namespace test_bus
