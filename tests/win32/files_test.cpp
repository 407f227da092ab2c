// The Windows file services on a real (Wine) file system.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/platform.h"
#include "win32/program_session.h"

using namespace wine_test;

namespace {

class WinFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = ProgramFolder() + "files-test\\";
    ::CreateDirectoryA(folder_.c_str(), nullptr);
    target_ = folder_ + "quorvel.ini";
  }
  void TearDown() override {
    for (const std::string& name : Entries()) ::DeleteFileA((folder_ + name).c_str());
    ::RemoveDirectoryA(folder_.c_str());
  }

  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = ::FindFirstFileA((folder_ + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const std::string name = found.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return names;
  }

  std::string Read(const std::string& path) const {
    std::string bytes;
    platform::ReadWholeFile(path, bytes);
    return bytes;
  }

  // Holds `path` open without sharing, as a virus scanner might.
  HANDLE Hold(const std::string& path) const {
    return ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  }

  std::string folder_, target_;
};

}  // namespace

TEST_F(WinFiles, SaveCreatesThenReplacesTheFileLeavingNothingElse) {
  ASSERT_TRUE(platform::ReplaceFileAtomically(target_, "first\r\n"));
  EXPECT_EQ(Read(target_), "first\r\n");
  ASSERT_TRUE(platform::ReplaceFileAtomically(target_, "second\r\n"));
  EXPECT_EQ(Read(target_), "second\r\n");
  EXPECT_EQ(Entries(), std::vector<std::string>{"quorvel.ini"});
}

TEST_F(WinFiles, SaveWaitsOutABriefHoldButGivesUpOnALongOne) {
  ASSERT_TRUE(platform::ReplaceFileAtomically(target_, "old"));

  HANDLE held = Hold(target_);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(platform::ReplaceFileAtomically(target_, "new"));
  ::CloseHandle(held);
  EXPECT_EQ(Read(target_), "old") << "a failed save keeps the old file whole";
  EXPECT_EQ(Entries(), std::vector<std::string>{"quorvel.ini"}) << "temporary file left behind";

  held = Hold(target_);
  std::thread release([held] {
    ::Sleep(40);
    ::CloseHandle(held);
  });
  EXPECT_TRUE(platform::ReplaceFileAtomically(target_, "new"));
  release.join();
  EXPECT_EQ(Read(target_), "new");
}

TEST_F(WinFiles, ReadingNeedsTheFileToItself) {
  ASSERT_TRUE(platform::ReplaceFileAtomically(target_, "x"));
  const HANDLE held = Hold(target_);
  std::string bytes = "stale";
  EXPECT_FALSE(platform::ReadWholeFile(target_, bytes));
  EXPECT_EQ(bytes, "");
  ::CloseHandle(held);
  EXPECT_FALSE(platform::ReadWholeFile(folder_ + "missing.ini", bytes));
}

TEST_F(WinFiles, OnlyOrdinaryFilesCountAsExisting) {
  WriteFile(folder_ + "plain.wav", "RIFF");
  WriteFile(folder_ + "hidden.wav", "RIFF");
  ::SetFileAttributesA((folder_ + "hidden.wav").c_str(), FILE_ATTRIBUTE_HIDDEN);
  WriteFile(folder_ + "system.wav", "RIFF");
  ::SetFileAttributesA((folder_ + "system.wav").c_str(), FILE_ATTRIBUTE_SYSTEM);
  ::CreateDirectoryA((folder_ + "folder.wav").c_str(), nullptr);
  struct Case {
    std::string path;
    bool ordinary;
  };
  const Case cases[] = {
      {folder_ + "plain.wav", true},    {folder_ + "hidden.wav", false},
      {folder_ + "system.wav", false},  {folder_ + "folder.wav", false},
      {folder_ + "missing.wav", false}, {folder_ + "*.wav", false},
      {folder_ + "plai?.wav", false},   {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::IsOrdinaryFile(c.path), c.ordinary) << c.path;
  for (const char* name : {"hidden.wav", "system.wav"})
    ::SetFileAttributesA((folder_ + name).c_str(), FILE_ATTRIBUTE_NORMAL);
  ::RemoveDirectoryA((folder_ + "folder.wav").c_str());
}
