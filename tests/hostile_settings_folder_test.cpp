// Start-up and a save against settings folders as users and other programs
// leave them: links, modes, huge files, files of another user. What cannot be
// read or written stays exactly as it was; a link is written through.
#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "fake/fake_platform.h"
#include "settings/settings_file.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;
using test_files::Read;
using test_files::Write;

constexpr uid_t kNobody = 65534;

SettingsRecord UsersSettings() {
  SettingsRecord settings = DefaultSettings();
  settings.Say[SayHourProg] = 1;
  return settings;
}

// Every entry below `folder`, links not followed: what it is, and for a file
// its inode, size and mode, so that a replaced or changed file shows.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    struct stat info;
    ::lstat(entry.path().c_str(), &info);
    std::string& seen = entries[entry.path().string().substr(folder.size())];
    if (S_ISLNK(info.st_mode))
      seen = "link to " + fs::read_symlink(entry.path()).string();
    else
      seen = std::to_string(info.st_mode) + " " + std::to_string(info.st_ino) + " " +
             std::to_string(info.st_size) + " " + std::to_string(info.st_uid);
  }
  return entries;
}

void WriteSized(const std::string& path, off_t size) {
  Write(path, SettingsFileText(UsersSettings()));
  ASSERT_EQ(::truncate(path.c_str(), size), 0) << path;  // sparse: no disk used
}

// Runs start-up and two changes, as `uid`, in a child process; tells what
// the start-up read: "the user's settings", "the defaults" or anything else,
// and after " | " each message box the changes showed.
std::string StartAndChangeTwoSettings(uid_t uid) {
  int ends[2];
  if (::pipe(ends) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(ends[0]);
    if (uid != ::geteuid() &&
        (::setgroups(0, nullptr) != 0 || ::setgid(uid) != 0 || ::setuid(uid) != 0))
      ::_exit(3);
    LoadSettings();
    const std::string read = SettingsFileText(Settings);
    const std::string seen = read == SettingsFileText(UsersSettings()) ? "the user's settings"
                             : read == SettingsFileText(DefaultSettings()) ? "the defaults"
                                                                           : "other: " + read;
    Settings.Say[Say420] = 1;
    SaveSettings();
    SaveSettings();
    std::string told = seen + " |";
    for (const std::string& call : fake::Calls())
      if (call.rfind("ShowStopBox", 0) == 0) told += " " + call;
    if (::write(ends[1], told.data(), told.size()) < 0) ::_exit(4);
    ::_exit(0);
  }
  ::close(ends[1]);
  std::string seen;
  char buffer[4096];
  for (ssize_t n; (n = ::read(ends[0], buffer, sizeof buffer)) > 0;) seen.append(buffer, n);
  ::close(ends[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seen
                                                      : "child failed: " + std::to_string(status);
}

TEST(HostileSettingsFolder, WhatCannotBeReadOrWrittenIsKeptAndLinksAreWrittenThrough) {
  const SettingsRecord users = UsersSettings();
  const std::string kUsers = "the user's settings", kDefaults = "the defaults";
  struct Row {
    const char* what;
    void (*make)(const std::string& folder);
    bool as_nobody;
    std::string start_shows;
    const char* saved_to;  // relative to the folder; null: nothing may change
    std::string told;      // why the one message box says the file cannot be saved
  };
  const std::string kSaved = "",
                    kUnread = "the file could not be read at start, and saving would replace it";
  const Row rows[] = {
      {"a link into a repository folder",
       [](const std::string& f) {
         fs::create_directory(f + "repo");
         Write(f + "repo/quorvel.ini", SettingsFileText(UsersSettings()));
         fs::create_symlink("repo/quorvel.ini", f + "quorvel.ini");
       },
       false, kUsers, "repo/quorvel.ini", kSaved},
      {"a link to a link to a file of another name",
       [](const std::string& f) {
         fs::create_directory(f + "repo");
         Write(f + "repo/settings.txt", SettingsFileText(UsersSettings()));
         fs::create_symlink(f + "repo/settings.txt", f + "middle");
         fs::create_symlink("middle", f + "quorvel.ini");
       },
       false, kUsers, "repo/settings.txt", kSaved},
      {"a dangling link",
       [](const std::string& f) { fs::create_symlink("repo/gone.ini", f + "quorvel.ini"); },
       false, kDefaults, nullptr, "the file is a link that leads nowhere"},
      {"a link loop",
       [](const std::string& f) {
         fs::create_symlink("loop", f + "quorvel.ini");
         fs::create_symlink("quorvel.ini", f + "loop");
       },
       false, kDefaults, nullptr, "the file is a link that leads round in a circle"},
      {"a link to a device",
       [](const std::string& f) { fs::create_symlink("/dev/null", f + "quorvel.ini"); }, false,
       kDefaults, nullptr, "something that is not a file has its name"},
      {"a write-protected file",
       [](const std::string& f) {
         Write(f + "quorvel.ini", SettingsFileText(UsersSettings()));
         ::chmod((f + "quorvel.ini").c_str(), 0444);
       },
       false, kUsers, nullptr, "the file is write-protected"},
      {"a file one byte over 1 MiB",
       [](const std::string& f) { WriteSized(f + "quorvel.ini", (1 << 20) + 1); }, false,
       kDefaults, nullptr, kUnread},
      {"a sparse 3 GiB file",
       [](const std::string& f) { WriteSized(f + "quorvel.ini", off_t{3} << 30); }, false,
       kDefaults, nullptr, kUnread},
      {"root's private file, read by another user",
       [](const std::string& f) {
         Write(f + "quorvel.ini", SettingsFileText(UsersSettings()));
         ::chmod((f + "quorvel.ini").c_str(), 0600);
       },
       true, kDefaults, nullptr, kUnread},
      {"root's readable file, saved by another user",
       [](const std::string& f) { Write(f + "quorvel.ini", SettingsFileText(UsersSettings())); },
       true, kUsers, nullptr, "the file is write-protected"},
  };
  for (const Row& row : rows) {
    if (row.as_nobody && ::geteuid() != 0) {
      std::printf("[ SKIPPED  ] %s: becoming the user nobody needs root\n", row.what);
      continue;
    }
    fake::Reset();
    const std::string folder = fake::ProgramFolderPath();
    row.make(folder);
    if (row.as_nobody) ::chown(folder.c_str(), kNobody, kNobody);
    std::map<std::string, std::string> before = Snapshot(folder);

    const std::string told =
        row.told.empty() ? ""
                         : " ShowStopBox Quorvel|Quorvel cannot save your settings to " + folder +
                               "quorvel.ini: " + row.told + ". Changes last until Quorvel ends.";
    EXPECT_EQ(StartAndChangeTwoSettings(row.as_nobody ? kNobody : ::geteuid()),
              row.start_shows + " |" + told)
        << row.what;

    std::map<std::string, std::string> after = Snapshot(folder);
    if (row.saved_to != nullptr) {
      SettingsRecord changed = users;
      changed.Say[Say420] = 1;
      EXPECT_EQ(Read(folder + row.saved_to), SettingsFileText(changed)) << row.what;
      EXPECT_EQ(after.erase(row.saved_to), 1u) << row.what;
      before.erase(row.saved_to);
    }
    EXPECT_EQ(after, before) << row.what << ": links, modes and other files stay, nothing is left";
  }
}

}  // namespace
