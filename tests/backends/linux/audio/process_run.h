// A program run in a process of its own, so that a hang fails the test
// instead of stalling it.
#pragma once

#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

inline long long MonotonicNanoseconds() {
  struct timespec now {};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

struct ProcessRun {
  bool ended = false;  // before the time allowed ran out
  int status = 0;      // as waitpid gives it
  long long ended_at = 0;
  std::string output;  // what it printed
  std::string errors;  // what it printed on standard error
};

inline std::string ReadAll(int descriptor) {
  std::string text;
  char buffer[256];
  for (ssize_t got; (got = ::read(descriptor, buffer, sizeof buffer)) > 0;)
    text.append(buffer, static_cast<std::size_t>(got));
  return text;
}

// Runs `arguments` (the program first) in the test's environment; killed
// after `seconds`. Standard error is kept apart from the output only when
// `errors_apart`; else it is the test's own.
inline ProcessRun RunProcess(std::vector<std::string> arguments, int seconds,
                             bool errors_apart = false) {
  ProcessRun run;
  int output[2], errors[2];
  if (::pipe(output) != 0) return run;
  if (::pipe(errors) != 0) {
    ::close(output[0]);
    ::close(output[1]);
    return run;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  if (errors_apart) posix_spawn_file_actions_adddup2(&actions, errors[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, output[0]);
  posix_spawn_file_actions_addclose(&actions, errors[0]);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(output[1]);
  ::close(errors[1]);
  if (spawned == 0) {
    const long long deadline = MonotonicNanoseconds() + seconds * 1000000000LL;
    while (!run.ended && MonotonicNanoseconds() < deadline) {
      run.ended = ::waitpid(child, &run.status, WNOHANG) == child;
      if (!run.ended) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    run.ended_at = MonotonicNanoseconds();
    if (!run.ended) {
      ::kill(child, SIGKILL);
      ::waitpid(child, nullptr, 0);
    }
    run.output = ReadAll(output[0]);
    run.errors = ReadAll(errors[0]);
  }
  ::close(output[0]);
  ::close(errors[0]);
  return run;
}

inline bool ExitedWith(const ProcessRun& run, int status) {
  return run.ended && WIFEXITED(run.status) && WEXITSTATUS(run.status) == status;
}
