// A speech-dispatcher of the test's own, in a temporary folder: configuration,
// runtime folder and socket, found through the environment by the library's
// autospawn. Two output modules, "rec" (the default) and "own", write what
// they are given to rec.txt and own.txt: "<voice> <rate> <text>" a line.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class PrivateDispatcher {
 public:
  struct Setup {
    std::string user_lines;  // added to speechd.conf as the user would
    double seconds_per_text = 0;  // how long the modules take to "speak"
  };
  explicit PrivateDispatcher(const Setup& setup);
  // Stops every daemon that ran from the folder, then removes it.
  ~PrivateDispatcher();
  PrivateDispatcher(const PrivateDispatcher&) = delete;
  PrivateDispatcher& operator=(const PrivateDispatcher&) = delete;

  // Replaces the user's lines; a daemon started later reads them.
  void Configure(const std::string& user_lines);
  std::vector<std::string> Spoken(const std::string& module = "rec") const;
  // The file that module appends to, for a process that watches it.
  std::string SpokenFile(const std::string& module = "rec") const;
  // The running daemon, 0 when none.
  pid_t Daemon() const;
  // Kills the daemon at once, as a crash would, and waits until it is gone.
  void Kill();

 private:
  void Stop(int signal);
  std::string folder_;
  std::vector<std::pair<std::string, std::string>> saved_environment_;
};
