// The program's sound loader runs only a module that nobody but the user or
// root can change, of its own build; else it tells why, once, and stays
// silent. Each row is a copy of the loader probe and the module in a folder
// of its own.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "backends/linux/audio/process_run.h"

namespace {

namespace fs = std::filesystem;
constexpr uid_t kNobody = 65534;
constexpr gid_t kUsers = 100;  // Debian's group of all users


TEST(ModuleTrust, OnlyAModuleOfThisBuildThatNobodyElseMayChangeIsLoaded) {
  const struct Row {
    const char* name;
    std::function<void(const std::string& copy, const std::string& spare)> make;
    const char* told;  // what the one notice says; empty when the module loads
  } rows[] = {
      {"a private copy", [](const std::string&, const std::string&) {}, ""},
      {"a folder anyone may write", [](const std::string& copy,
                                       const std::string&) { ::chmod(copy.c_str(), 0777); },
       "or its folder may be changed by other users"},
      {"a shared folder like /tmp",
       [](const std::string& copy, const std::string&) { ::chmod(copy.c_str(), 01777); },
       "or its folder may be changed by other users"},
      {"a module a shared group may write",
       [](const std::string& copy, const std::string&) {
         ::chown((copy + "/quorvel_audio.so").c_str(), 0, kUsers);
         ::chmod((copy + "/quorvel_audio.so").c_str(), 0664);
       },
       "or its folder may be changed by other users"},
      {"a folder a shared group may write",
       [](const std::string& copy, const std::string&) {
         ::chown(copy.c_str(), 0, kUsers);
         ::chmod(copy.c_str(), 0775);
       },
       "or its folder may be changed by other users"},
      // Built or unpacked under umask 002: the group is the user's own.
      {"a module and folder the user's private group may write",
       [](const std::string& copy, const std::string&) {
         ::chmod(copy.c_str(), 0775);
         ::chmod((copy + "/quorvel_audio.so").c_str(), 0775);
       },
       ""},
      {"a module of another user",
       [](const std::string& copy, const std::string&) {
         ::chown((copy + "/quorvel_audio.so").c_str(), kNobody, kNobody);
       },
       "or its folder may be changed by other users"},
      {"a folder of another user",
       [](const std::string& copy, const std::string&) { ::chown(copy.c_str(), kNobody, kNobody); },
       "or its folder may be changed by other users"},
      {"a link to a module in a folder anyone may write",
       [](const std::string& copy, const std::string& spare) {
         fs::rename(copy + "/quorvel_audio.so", spare + "/quorvel_audio.so");
         ::chmod(spare.c_str(), 0777);
         fs::create_symlink(spare + "/quorvel_audio.so", copy + "/quorvel_audio.so");
       },
       "or its folder may be changed by other users"},
      {"a module of another version",
       [](const std::string& copy, const std::string&) {
         fs::copy_file(QUORVEL_OTHER_BUILD_MODULE, copy + "/quorvel_audio.so",
                       fs::copy_options::overwrite_existing);
       },
       "belongs to another version of Quorvel"},
      {"no module", [](const std::string& copy,
                       const std::string&) { fs::remove(copy + "/quorvel_audio.so"); },
       "quorvel_audio.so is neither beside the program nor in"},
  };
  if (::geteuid() != 0) GTEST_SKIP() << "making files of another user needs root";
  // Root's own group is private as Debian makes it: named root, nobody else in it.
  for (const Row& row : rows) {
    char name[] = "/tmp/quorvel-trust-XXXXXX";
    const std::string top = ::mkdtemp(name);
    const std::string copy = top + "/copy", spare = top + "/spare";
    fs::create_directories(copy);
    fs::create_directories(spare);
    ::chmod(copy.c_str(), 0755);
    fs::copy_file(QUORVEL_LOADER_PROBE, copy + "/probe");
    fs::copy_file(QUORVEL_AUDIO_MODULE, copy + "/quorvel_audio.so");
    ::chmod((copy + "/quorvel_audio.so").c_str(), 0644);
    row.make(copy, spare);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    const ProcessRun run = RunProcess({copy + "/probe"}, 20, true);
    fs::remove_all(top);
    EXPECT_TRUE(ExitedWith(run, 0)) << row.name << ": " << run.errors;
    const bool loaded = row.told[0] == '\0';
    // Another version's module is mapped to read its table, but never called:
    // its null entry points would end the probe.
    const bool mapped = loaded || row.told == std::string("belongs to another version of Quorvel");
    EXPECT_EQ(run.output, mapped ? "mapped\n" : "not mapped\n") << row.name;
    if (loaded) {
      EXPECT_EQ(run.errors, "") << row.name;
    } else {
      EXPECT_EQ(run.errors.rfind("quorvel: no sound or speech: ", 0), 0u) << run.errors;
      EXPECT_NE(run.errors.find(row.told), std::string::npos) << row.name << ": " << run.errors;
      EXPECT_EQ(run.errors.find('\n'), run.errors.size() - 1) << "told once: " << run.errors;
    }
  }
}

}  // namespace
