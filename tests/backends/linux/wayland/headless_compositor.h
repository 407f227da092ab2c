// A Wayland compositor of the tests' own: Weston on its headless backend, in
// a private runtime folder (mode 0700), writing the protocol's requests to
// its log.
#pragma once

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace test_compositor {

constexpr char kSocket[] = "quorvel-test";

struct HeadlessCompositor {
  pid_t server = -1;
  std::string runtime_folder;  // empty when it did not start
  std::string Log() const {
    std::ifstream file(runtime_folder + "/weston.log");
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }
};

inline HeadlessCompositor StartHeadlessCompositor() {
  HeadlessCompositor compositor;
  char name[] = "/tmp/quorvel-wayland-XXXXXX";
  if (mkdtemp(name) == nullptr) return compositor;  // 0700 already
  const std::string folder = name;
  compositor.server = fork();
  if (compositor.server == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);  // goes with the tests, however they end
    const int null = open("/dev/null", O_RDWR);
    for (int fd = 0; fd <= 2; ++fd) dup2(null, fd);
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    execlp("weston", "weston", "--backend=headless-backend.so", "--use-pixman",
           (std::string("--socket=") + kSocket).c_str(), "--idle-time=0",
           ("--log=" + folder + "/weston.log").c_str(), "--logger-scopes=log,proto",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  // Weston makes its socket once it accepts clients.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  const std::string socket = folder + "/" + kSocket;
  while (!std::filesystem::exists(socket) && std::chrono::steady_clock::now() < deadline &&
         waitpid(compositor.server, nullptr, WNOHANG) == 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  if (std::filesystem::exists(socket)) compositor.runtime_folder = folder;
  return compositor;
}

inline void StopHeadlessCompositor(const HeadlessCompositor& compositor) {
  if (compositor.server > 0) {
    kill(compositor.server, SIGTERM);
    waitpid(compositor.server, nullptr, 0);
  }
  if (!compositor.runtime_folder.empty()) std::filesystem::remove_all(compositor.runtime_folder);
}

}  // namespace test_compositor
