#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "platform/platform.h"
#include "support/test_files.h"

namespace {

using test_files::Entries;
using test_files::Read;
using test_files::Write;
using Names = std::vector<std::string>;

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
  EXPECT_FALSE(platform::ReplaceFileAtomically(folder_ + "folder", "x"));
  EXPECT_TRUE(std::filesystem::is_empty(folder_ + "folder"));
  const std::string path = folder_ + "plain.ini";
  Write(path, "a much longer old text");
  ::chmod(path.c_str(), 0600);
  ASSERT_TRUE(platform::ReplaceFileAtomically(path, "short"));
  EXPECT_EQ(Read(path), "short");
  struct stat info;
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  ASSERT_TRUE(platform::ReplaceFileAtomically(folder_ + "new.ini", std::string("\0\r\n", 3)));
  EXPECT_EQ(Read(folder_ + "new.ini"), std::string("\0\r\n", 3));
  EXPECT_EQ(Entries(folder_), (Names{".hidden", "fifo", "folder", "new.ini", "plain.ini"}));
}

// Only our own pattern goes, and not while a running save holds its lock.
TEST_F(PosixFiles, StartUpRemovesOnlyAbandonedTemporaryFiles) {
  const std::string target = folder_ + "quorvel.ini";
  Write(target, "kept");
  for (const char* name : {"quorvel.ini.a1B2c3", "quorvel.ini.zzzzzz", "quorvel.ini.held00",
                           "quorvel.ini.bak", "quorvel.ini.a1B2c3d", "quorvel.ini.a-b_c.",
                           "other.ini.a1B2c3"})
    Write(folder_ + name, "x");
  std::filesystem::create_directory(folder_ + "quorvel.ini.dir000");
  const int held = ::open((folder_ + "quorvel.ini.held00").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  platform::RemoveAbandonedSaves(target);
  ::close(held);
  EXPECT_EQ(Entries(folder_),
            (Names{".hidden", "fifo", "folder", "other.ini.a1B2c3", "plain.ini", "quorvel.ini",
                   "quorvel.ini.a-b_c.", "quorvel.ini.a1B2c3d", "quorvel.ini.bak",
                   "quorvel.ini.dir000", "quorvel.ini.held00"}));
  EXPECT_EQ(Read(target), "kept");
}

}  // namespace
