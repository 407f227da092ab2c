// The settings file on a disk that is full, out of inodes or read-only, and in
// a folder that does not exist. Each disk is a small tmpfs mounted for the
// test (we run as root), so the faults are the kernel's own, not simulated.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "settings/settings_file.h"
#include "support/test_files.h"

namespace {

using test_files::Entries;
using test_files::Read;
using Names = std::vector<std::string>;

enum class Fault { NoSpaceLeft, NoInodeLeft, ReadOnly };

class SmallDisk : public ::testing::Test {
 protected:
  // Said as a skip with its reason, not a failure: CI runs as root.
  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs disk needs root";
  }
  void TearDown() override { Unmount(); }

  // Mounts a fresh tmpfs and makes it the program folder.
  void Mount(const char* options) {
    char pattern[] = "/tmp/quorvel-disk-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    folder_ = pattern;
    ASSERT_EQ(::mount("quorvel-test", folder_.c_str(), "tmpfs", 0, options), 0)
        << "mounting a tmpfs needs root: " << std::strerror(errno);
    mounted_ = true;
    fake::SetProgramFolder(folder_ + "/");
  }

  void Unmount() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    if (!folder_.empty()) ::rmdir(folder_.c_str());
    mounted_ = false;
    folder_.clear();
  }

  // Brings the fault about; returns the names of the files it made.
  Names Break(Fault fault) {
    Names made;
    if (fault == Fault::ReadOnly) {
      EXPECT_EQ(::mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
      return made;
    }
    const std::string chunk(4096, 'f');
    for (int i = 0;; ++i) {
      const std::string name = "filler" + std::to_string(i);
      FILE* file = std::fopen((folder_ + "/" + name).c_str(), "wb");
      if (file == nullptr) break;  // out of inodes
      made.push_back(name);
      if (fault == Fault::NoSpaceLeft) {
        while (std::fwrite(chunk.data(), 1, chunk.size(), file) == chunk.size() &&
               std::fflush(file) == 0) {
        }
      }
      std::fclose(file);
      if (fault == Fault::NoSpaceLeft) break;
    }
    return made;
  }

  void Repair(Fault fault, const Names& made) {
    if (fault == Fault::ReadOnly) {
      EXPECT_EQ(::mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT, nullptr), 0);
    }
    for (const std::string& name : made) std::filesystem::remove(folder_ + "/" + name);
  }

  std::string folder_;
  bool mounted_ = false;
};

SettingsRecord WithSound(const std::string& path) {
  SettingsRecord settings = DefaultSettings();
  settings.SFX[SayAlarm1] = path;
  settings.Speak[SayAlarm1] = 0;
  return settings;
}

TEST_F(SmallDisk, ASaveThatCannotBeMadeKeepsTheLastFileWholeAndLeavesNothingBehind) {
  const struct {
    const char* name;
    const char* mount_options;
    Fault fault;
  } cases[] = {
      {"full disk", "size=64k", Fault::NoSpaceLeft},
      {"no inode left", "size=1m,nr_inodes=8", Fault::NoInodeLeft},
      {"read-only disk", "size=64k", Fault::ReadOnly},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fake::Reset();
    Mount(c.mount_options);
    Settings = WithSound("C:\\Sounds\\old.wav");
    SaveSettings();
    const std::string old_file = Read(SettingsPath());
    ASSERT_EQ(old_file, SettingsFileText(Settings));

    const Names made = Break(c.fault);
    Settings = WithSound("C:\\Sounds\\new " + std::string(3000, 'x') + ".wav");
    SaveSettings();
    EXPECT_EQ(Read(SettingsPath()), old_file);
    Names expected = made;
    expected.push_back("quorvel.ini");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Entries(folder_), expected) << "a failed save left a temporary file";
    LoadSettings();
    EXPECT_EQ(SettingsFileText(Settings), old_file);

    // Once there is room again, the next change is saved.
    Repair(c.fault, made);
    Settings = WithSound("C:\\Sounds\\later.wav");
    SaveSettings();
    EXPECT_EQ(Read(SettingsPath()), SettingsFileText(Settings));
    Unmount();
  }
}

TEST(SettingsFolder, AMissingFolderIsNeitherCreatedNorFatal) {
  fake::Reset();
  const std::string missing = fake::ProgramFolderPath() + "gone/";
  fake::SetProgramFolder(missing);
  Settings = WithSound("C:\\Sounds\\bell.wav");
  SaveSettings();
  EXPECT_FALSE(std::filesystem::exists(missing));
  LoadSettings();
  EXPECT_EQ(SettingsFileText(Settings), SettingsFileText(DefaultSettings()));
}

}  // namespace
