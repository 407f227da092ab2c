#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "platform/platform.h"
#include "support/test_files.h"

namespace {

using test_files::Entries;
using test_files::MakeOld;
using test_files::Read;
using test_files::Write;
using Names = std::vector<std::string>;
using platform::SaveResult;

class PosixFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    folder_ = fake::ProgramFolderPath();
    std::filesystem::create_directory(folder_ + "folder");
    Write(folder_ + "plain.ini", "x");
    Write(folder_ + ".hidden", "x");
    ::mkfifo((folder_ + "fifo").c_str(), 0600);
  }
  std::string folder_;
};

TEST_F(PosixFiles, OnlyVisibleOrdinaryFilesCountAsFiles) {
  const struct {
    const char* name;
    bool ordinary;
  } cases[] = {{"plain.ini", true}, {"folder", false},  {".hidden", false},
               {"fifo", false},     {"missing", false}, {"plain.ini/", false}};
  for (const auto& c : cases)
    EXPECT_EQ(platform::IsOrdinaryFile(folder_ + c.name), c.ordinary) << c.name;
}

TEST_F(PosixFiles, ReadsEveryByteOfALargeFile) {
  std::string bytes;
  for (int i = 0; bytes.size() < 200000; ++i) bytes += std::string("a\0\r\n\x1a\xff", 6) + char(i);
  Write(folder_ + "big", bytes);
  std::string read;
  ASSERT_TRUE(platform::ReadWholeFile(folder_ + "big", read));
  EXPECT_EQ(read, bytes);
}

TEST_F(PosixFiles, ReadingWhatIsNoFileFailsAtOnceWithNoBytes) {
  for (const char* name : {"missing", "folder", "fifo"}) {
    std::string read = "stale";
    EXPECT_FALSE(platform::ReadWholeFile(folder_ + name, read)) << name;
    EXPECT_EQ(read, "") << name;
  }
}

TEST_F(PosixFiles, ReplacesOnlyFilesWithExactBytesKeepingPermissions) {
  EXPECT_EQ(platform::ReplaceFileAtomically(folder_ + "folder", "x"), SaveResult::kNotAFile);
  EXPECT_TRUE(std::filesystem::is_empty(folder_ + "folder"));
  const std::string path = folder_ + "plain.ini";
  Write(path, "a much longer old text");
  ::chmod(path.c_str(), 0600);
  ASSERT_EQ(platform::ReplaceFileAtomically(path, "short"), SaveResult::kSaved);
  EXPECT_EQ(Read(path), "short");
  struct stat info;
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  ASSERT_EQ(platform::ReplaceFileAtomically(folder_ + "new.ini", std::string("\0\r\n", 3)),
            SaveResult::kSaved);
  EXPECT_EQ(Read(folder_ + "new.ini"), std::string("\0\r\n", 3));
  EXPECT_EQ(Entries(folder_), (Names{".hidden", "fifo", "folder", "new.ini", "plain.ini"}));
}

// A temporary file as a save names it.
const char kOurs[] = ".quorvel.ini.a1B2c3.quorvel-save";


// Only what a save of ours left goes: never a file of the user's, however
// named, nor one another user owns, a running save holds or wrote just now.
TEST_F(PosixFiles, StartUpRemovesOnlyTheSavesOwnAbandonedTemporaryFiles) {
  const std::string target = folder_ + "quorvel.ini";
  Write(target, "kept");
  Write(folder_ + "precious", "the user's");
  struct Leftover {
    const char* name;
    void (*make)(const std::string& path);
    bool removed;
  };
  const auto plain = [](const std::string& path) { Write(path, "x"); };
  const Leftover leftovers[] = {
      {kOurs, plain, true},
      {".quorvel.ini.Zz9876.quorvel-save", plain, true},
      {"quorvel.ini.backup", plain, false},
      {"quorvel.ini.sample", plain, false},
      {"quorvel.ini.old001", plain, false},
      {"quorvel.ini.zzzzzz", plain, false},
      {".quorvel.ini.a1B2c3", plain, false},
      {".other.ini.a1B2c3.quorvel-save", plain, false},
      {".quorvel.ini.a1-2c3.quorvel-save", plain, false},
      {".quorvel.ini.held00.quorvel-save", plain, false},
      {".quorvel.ini.young0.quorvel-save", nullptr, false},
      {".quorvel.ini.link00.quorvel-save",
       [](const std::string& path) { ::symlink("precious", path.c_str()); }, false},
      {".quorvel.ini.hard00.quorvel-save",
       [](const std::string& path) {
         ::link((path.substr(0, path.rfind('/') + 1) + "precious").c_str(), path.c_str());
       },
       false},
      {".quorvel.ini.dir000.quorvel-save",
       [](const std::string& path) { ::mkdir(path.c_str(), 0700); }, false},
      {".quorvel.ini.nobody.quorvel-save",
       [](const std::string& path) {
         Write(path, "x");
         if (::chown(path.c_str(), 65534, 65534) != 0)
           std::printf("[ SKIPPED  ] a leftover of another user: chown needs root\n");
       },
       false},
  };
  for (const Leftover& leftover : leftovers) {
    const std::string path = folder_ + leftover.name;
    if (leftover.make == nullptr) {
      Write(path, "x");  // written just now: a running save may be about to rename it
      continue;
    }
    leftover.make(path);
    MakeOld(path);
  }
  const int held = ::open((folder_ + ".quorvel.ini.held00.quorvel-save").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  platform::RemoveAbandonedSaves(target, [](const std::string&) { return true; });
  ::close(held);
  for (const Leftover& leftover : leftovers)
    EXPECT_EQ(::access((folder_ + leftover.name).c_str(), F_OK) != 0, leftover.removed)
        << leftover.name;
  EXPECT_EQ(Read(target), "kept");
  EXPECT_EQ(Read(folder_ + "precious"), "the user's");
}

// Without a settings file the newest whole leftover becomes it; leftovers
// that are not whole stay while there is no file.
TEST_F(PosixFiles, AWholeLeftoverWithoutASettingsFileBecomesIt) {
  const auto is_whole = [](const std::string& bytes) { return bytes.rfind("whole", 0) == 0; };
  const struct {
    const char* what;
    std::map<std::string, std::string> leftovers;  // name → bytes, oldest first
    bool settings_file;
    Names left;
    std::string settings;
  } cases[] = {
      {"a whole one", {{kOurs, "whole 1"}}, false, {"quorvel.ini"}, "whole 1"},
      {"two whole ones", {{".quorvel.ini.000001.quorvel-save", "whole old"},
                          {".quorvel.ini.000002.quorvel-save", "whole new"}},
       false, {"quorvel.ini"}, "whole new"},
      {"a cut one", {{kOurs, "cut"}}, false, {kOurs}, ""},
      {"beside a settings file", {{kOurs, "whole 1"}}, true, {"quorvel.ini"}, "settings"},
  };
  for (const auto& c : cases) {
    fake::Reset();
    folder_ = fake::ProgramFolderPath();
    if (c.settings_file) Write(folder_ + "quorvel.ini", "settings");
    int age = 3600;
    for (const auto& [name, bytes] : c.leftovers) {
      Write(folder_ + name, bytes);
      const timespec when[2] = {{::time(nullptr) - age, 0}, {::time(nullptr) - age, 0}};
      ::utimensat(AT_FDCWD, (folder_ + name).c_str(), when, 0);
      age -= 60;
    }
    platform::RemoveAbandonedSaves(folder_ + "quorvel.ini", is_whole);
    EXPECT_EQ(Entries(folder_), c.left) << c.what;
    EXPECT_EQ(Read(folder_ + "quorvel.ini"), c.settings) << c.what;
  }
}

// A link that leads nowhere is no settings file: the leftovers beside it may
// hold the only copy of the settings, and the link is not replaced.
TEST_F(PosixFiles, LeftoversBesideALinkThatLeadsNowhereStay) {
  for (const char* link_to : {"repo/gone.ini", "quorvel.ini"}) {
    fake::Reset();
    folder_ = fake::ProgramFolderPath();
    ::symlink(link_to, (folder_ + "quorvel.ini").c_str());
    Write(folder_ + kOurs, "whole");
    MakeOld(folder_ + kOurs);
    platform::RemoveAbandonedSaves(folder_ + "quorvel.ini",
                                   [](const std::string&) { return true; });
    EXPECT_EQ(Entries(folder_), (Names{kOurs, "quorvel.ini"})) << link_to;
    EXPECT_EQ(std::filesystem::read_symlink(folder_ + "quorvel.ini"), link_to);
    EXPECT_EQ(Read(folder_ + kOurs), "whole") << link_to;
  }
}

// A save through a link writes beside the file the link ends at: that is
// where a killed one's leftover lies.
TEST_F(PosixFiles, StartUpTidiesBesideTheFileALinkEndsAt) {
  std::filesystem::create_directory(folder_ + "repo");
  Write(folder_ + "repo/real.ini", "settings");
  ::symlink("repo/real.ini", (folder_ + "quorvel.ini").c_str());
  const std::string leftover = folder_ + "repo/.real.ini.a1B2c3.quorvel-save";
  Write(leftover, "x");
  MakeOld(leftover);
  platform::RemoveAbandonedSaves(folder_ + "quorvel.ini", [](const std::string&) { return true; });
  EXPECT_EQ(Entries(folder_ + "repo"), Names{"real.ini"});
  EXPECT_EQ(Read(folder_ + "quorvel.ini"), "settings");
}

}  // namespace
