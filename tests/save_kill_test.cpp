// Kills a process that saves the settings in a loop, hundreds of times at
// random moments, and checks after each kill that quorvel.ini holds one whole
// save: the last one the saver finished, or the one it was writing.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include "fake/fake_platform.h"
#include "save_loop/generation.h"
#include "settings/settings_file.h"
#include "support/test_files.h"

namespace {

constexpr int kKills = 500;

struct Saver {
  pid_t pid;
  int output;  // read end of the saver's standard output
};

Saver StartSaver(const std::string& folder, long long first_generation) {
  int pipe_ends[2];
  if (::pipe(pipe_ends) != 0) std::abort();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipe_ends[1], STDOUT_FILENO);
    ::close(pipe_ends[0]);
    ::close(pipe_ends[1]);
    const std::string first = std::to_string(first_generation);
    ::execl(QUORVEL_SAVE_LOOP_PROGRAM, "quorvel_save_loop", folder.c_str(), first.c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(pipe_ends[1]);
  return {pid, pipe_ends[0]};
}

// Reads the saver's report: at least its first line, or all of it.
std::string ReadReport(int fd, bool to_end) {
  std::string report;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    report.append(buffer, static_cast<size_t>(n));
    if (!to_end && report.find('\n') != std::string::npos) break;
  }
  return report;
}

// The last generation the saver reported finished, if any.
std::optional<long long> LastFinished(const std::string& report) {
  const size_t end = report.rfind('\n');
  if (end == std::string::npos) return std::nullopt;
  const size_t start = report.rfind('\n', end - 1);
  return std::atoll(report.substr(start == std::string::npos ? 0 : start + 1).c_str());
}

TEST(SaveUnderKill, TheSettingsFileIsAlwaysOneWholeSave) {
  char pattern[] = "/tmp/quorvel-kill-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  const std::string folder = pattern;
  const std::string file = folder + "/quorvel.ini";

  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> delay_us(0, 3000);

  long long next_first = 0;
  int kills = 0, bad_files = 0, kills_after_rename = 0;
  for (; kills < kKills; ++kills) {
    const Saver saver = StartSaver(folder, next_first);
    // Wait for its first save, so that the kills land among saves.
    std::string report = ReadReport(saver.output, false);
    std::this_thread::sleep_for(std::chrono::microseconds(delay_us(random)));
    ::kill(saver.pid, SIGKILL);
    report += ReadReport(saver.output, true);
    ::close(saver.output);
    int status = 0;
    ::waitpid(saver.pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saver stopped by itself: " << status;
    const std::optional<long long> finished = LastFinished(report);
    ASSERT_TRUE(finished.has_value()) << "the saver reported no save";

    // The last save it reported, or the next one if the kill came between
    // that save's rename and its report.
    const std::string bytes = test_files::Read(file);
    if (bytes == GenerationFile(*finished + 1)) {
      ++kills_after_rename;
    } else if (bytes != GenerationFile(*finished)) {
      ++bad_files;
      ADD_FAILURE() << "kill " << kills << ": the file is no whole save (" << bytes.size()
                    << " bytes); seed " << seed;
    }
    next_first = *finished + 2;
  }
  const size_t leftovers = test_files::Entries(folder).size() - 1;
  // The next start, a while later, clears what the killed saves left (one
  // written in the last seconds may still be a running save's).
  for (const std::string& name : test_files::Entries(folder))
    if (name != "quorvel.ini") test_files::MakeOld(folder + "/" + name);
  fake::SetProgramFolder(folder + "/");
  LoadSettings();
  const std::vector<std::string> after_start = test_files::Entries(folder);
  std::printf("[ kill test ] %d kills, %d bad files, %d kills between a rename and its report, "
              "%zu temporary files left by killed saves, %zu after the next start, seed %u\n",
              kills, bad_files, kills_after_rename, leftovers, after_start.size() - 1, seed);
  EXPECT_EQ(bad_files, 0);
  EXPECT_EQ(after_start, std::vector<std::string>{"quorvel.ini"});
  std::filesystem::remove_all(folder);
}

}  // namespace
