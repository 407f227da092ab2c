// The Windows file services on a real (Wine) file system.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "backends/win32/save_calls.h"
#include "settings/settings_file.h"
#include "backends/win32/program_session.h"

using namespace wine_test;
using platform::SaveResult;

namespace {

// Save calls that fail as scripted, each with the error its list names next,
// and are real once their list is used up. A failing ReplaceFile does to the
// old file what its error code says: 1176 has removed it, 1177 has moved it
// to another name ("aside.ini").
struct Failures {
  std::vector<DWORD> write, replace, move;
};
struct Script {
  Failures fail;
  int replaces = 0, moves = 0, sleeps = 0;
  std::string aside;
};
Script script;

void Start(const Failures& failures, const std::string& aside = "") {
  script = Script{};
  script.fail = failures;
  script.aside = aside;
}

bool NextFailure(std::vector<DWORD>& errors) {
  if (errors.empty()) return false;
  ::SetLastError(errors.front());
  errors.erase(errors.begin());
  return true;
}

const platform::win32::SaveCalls kScripted = {
    [](const char* target, const char* replacement) -> BOOL {
      ++script.replaces;
      std::vector<DWORD>& fail = script.fail.replace;
      if (fail.empty()) return platform::win32::RealSaveCalls().replace(target, replacement);
      if (fail.front() == ERROR_UNABLE_TO_MOVE_REPLACEMENT) ::DeleteFileA(target);
      if (fail.front() == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        ::MoveFileA(target, script.aside.c_str());
      return !NextFailure(fail);
    },
    [](const char* from, const char* to) -> BOOL {
      ++script.moves;
      return NextFailure(script.fail.move) ? FALSE
                                           : platform::win32::RealSaveCalls().move(from, to);
    },
    [](HANDLE file, const void* data, DWORD size, DWORD* written) -> BOOL {
      return NextFailure(script.fail.write)
                 ? FALSE
                 : platform::win32::RealSaveCalls().write(file, data, size, written);
    },
    [](DWORD) { ++script.sleeps; },
};

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

  // Each file's bytes; the save's temporary files all count as "qvl*.tmp".
  std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> files;
    for (const std::string& name : Entries()) {
      const bool temporary = ::_strnicmp(name.c_str(), "qvl", 3) == 0 && name.size() > 7 &&
                             ::_stricmp(name.c_str() + name.size() - 4, ".tmp") == 0;
      files[temporary ? "qvl*.tmp" : name] = Read(folder_ + name);
    }
    return files;
  }

  // Dates the file's last write `seconds` back from now.
  void Age(const std::string& path, int seconds) const {
    const HANDLE file = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER then = {{now.dwLowDateTime, now.dwHighDateTime}};
    then.QuadPart -= 10000000ull * static_cast<ULONGLONG>(seconds);
    const FILETIME written = {then.LowPart, then.HighPart};
    EXPECT_TRUE(::SetFileTime(file, nullptr, nullptr, &written));
    ::CloseHandle(file);
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
  ASSERT_EQ(platform::ReplaceFileAtomically(target_, "first\r\n"), SaveResult::kSaved);
  EXPECT_EQ(Read(target_), "first\r\n");
  ASSERT_EQ(platform::ReplaceFileAtomically(target_, "second\r\n"), SaveResult::kSaved);
  EXPECT_EQ(Read(target_), "second\r\n");
  EXPECT_EQ(Entries(), std::vector<std::string>{"quorvel.ini"});
}

TEST_F(WinFiles, SaveWaitsOutABriefHoldButGivesUpOnALongOne) {
  ASSERT_EQ(platform::ReplaceFileAtomically(target_, "old"), SaveResult::kSaved);

  HANDLE held = Hold(target_);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(platform::ReplaceFileAtomically(target_, "new"), SaveResult::kInUse);
  ::CloseHandle(held);
  EXPECT_EQ(Read(target_), "old") << "a failed save keeps the old file whole";
  EXPECT_EQ(Entries(), std::vector<std::string>{"quorvel.ini"}) << "temporary file left behind";

  held = Hold(target_);
  std::thread release([held] {
    ::Sleep(40);
    ::CloseHandle(held);
  });
  EXPECT_EQ(platform::ReplaceFileAtomically(target_, "new"), SaveResult::kSaved);
  release.join();
  EXPECT_EQ(Read(target_), "new");
}

// An indexer or scanner that holds the file for a moment must not make the
// start show the defaults; one that holds it for good, or a file far too big
// to be ours, reads as nothing.
TEST_F(WinFiles, ReadingWaitsOutABriefHoldButNotALongOne) {
  ASSERT_EQ(platform::ReplaceFileAtomically(target_, "x"), SaveResult::kSaved);
  HANDLE held = Hold(target_);
  std::string bytes = "stale";
  EXPECT_FALSE(platform::ReadWholeFile(target_, bytes));
  EXPECT_EQ(bytes, "");
  ::CloseHandle(held);

  held = Hold(target_);
  std::thread release([held] {
    ::Sleep(40);
    ::CloseHandle(held);
  });
  EXPECT_TRUE(platform::ReadWholeFile(target_, bytes));
  release.join();
  EXPECT_EQ(bytes, "x");

  WriteFile(target_, std::string(platform::kLargestReadableFile + 1, 'x'));
  EXPECT_FALSE(platform::ReadWholeFile(target_, bytes));
  EXPECT_TRUE(bytes.empty()) << bytes.size() << " bytes";
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

TEST_F(WinFiles, EveryFailingStepOfASaveKeepsTheLastGoodSettings) {
  constexpr DWORD kGone = ERROR_UNABLE_TO_MOVE_REPLACEMENT;
  constexpr DWORD kAside = ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
  constexpr DWORD kHeld = ERROR_SHARING_VIOLATION, kDenied = ERROR_ACCESS_DENIED;
  using Disk = std::map<std::string, std::string>;
  const std::string aside = "aside.ini";
  const Disk kNew = {{"quorvel.ini", "new"}}, kOld = {{"quorvel.ini", "old"}},
             kTempOnly = {{"qvl*.tmp", "new"}};
  constexpr SaveResult kSaved = SaveResult::kSaved, kRefused = SaveResult::kFolderRefused,
                       kInUse = SaveResult::kInUse, kDiskFull = SaveResult::kDiskFull,
                       kDiskError = SaveResult::kDiskError;
  struct Row {
    const char* what;
    bool old_file;
    Failures fail;
    SaveResult result;
    Disk files;
    int replaces, moves, sleeps;
  };
  const Row rows[] = {
      {"replaced", true, {}, kSaved, kNew, 1, 0, 0},
      {"old gone, renamed", true, {{}, {kGone}, {}}, kSaved, kNew, 1, 1, 0},
      {"old gone, rename refused", true, {{}, {kGone}, {kDenied}}, kRefused, kTempOnly, 1, 1, 0},
      {"old gone, temp held once", true, {{}, {kGone}, {kHeld}}, kSaved, kNew, 1, 2, 1},
      {"old gone, temp held throughout", true, {{}, {kGone}, {kHeld, kHeld, kHeld, kHeld, kHeld}},
       kInUse, kTempOnly, 1, 5, 4},
      {"old aside, renamed", true, {{}, {kAside}, {}}, kSaved,
       {{"quorvel.ini", "new"}, {aside, "old"}}, 1, 1, 0},
      {"old aside, rename refused", true, {{}, {kAside}, {kDenied}}, kRefused,
       {{"qvl*.tmp", "new"}, {aside, "old"}}, 1, 1, 0},
      {"old kept", true, {{}, {ERROR_UNABLE_TO_REMOVE_REPLACED}, {}}, kDiskError, kOld, 1, 0, 0},
      {"access denied", true, {{}, {kDenied}, {}}, kRefused, kOld, 1, 0, 0},
      {"locked once", true, {{}, {ERROR_LOCK_VIOLATION}, {}}, kSaved, kNew, 2, 0, 1},
      {"held throughout", true, {{}, {kHeld, kHeld, kHeld, kHeld, kHeld}, {}}, kInUse, kOld,
       5, 0, 4},
      {"disk full", true, {{ERROR_DISK_FULL}, {}, {}}, kDiskFull, kOld, 0, 0, 0},
      {"first save, held once", false, {{}, {}, {kHeld}}, kSaved, kNew, 0, 2, 1},
      {"first save, rename refused", false, {{}, {}, {kDenied}}, kRefused, {}, 0, 1, 0},
  };
  for (const Row& row : rows) {
    for (const std::string& name : Entries()) ::DeleteFileA((folder_ + name).c_str());
    if (row.old_file) WriteFile(target_, "old");
    Start(row.fail, folder_ + aside);
    EXPECT_EQ(platform::win32::SaveThrough(kScripted, target_, "new"), row.result) << row.what;
    EXPECT_EQ(Files(), row.files) << row.what;
    EXPECT_EQ(script.replaces, row.replaces) << row.what;
    EXPECT_EQ(script.moves, row.moves) << row.what;
    EXPECT_EQ(script.sleeps, row.sleeps) << row.what;
  }
}

TEST_F(WinFiles, AReadOnlyFileFailsTheSaveAtOnceAndStaysAsItWas) {
  WriteFile(target_, "old");
  ASSERT_TRUE(::SetFileAttributesA(target_.c_str(), FILE_ATTRIBUTE_READONLY));
  Start({});  // every call real, only counted
  EXPECT_EQ(platform::win32::SaveThrough(kScripted, target_, "new"), SaveResult::kWriteProtected);
  ::SetFileAttributesA(target_.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(script.replaces + script.moves, 1);
  EXPECT_EQ(script.sleeps, 0);
  EXPECT_EQ(Files(), (std::map<std::string, std::string>{{"quorvel.ini", "old"}}));
}

TEST_F(WinFiles, CleanUpRemovesOnlyTheSavesOwnLeftoversThatNobodyUses) {
  WriteFile(target_, "settings");
  // A running save holds its file without sharing; another program reading
  // the file may share everything.
  constexpr DWORD kNobody = ~0u, kSave = 0,
                  kReader = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  struct Leftover {
    const char* name;
    int age_seconds;
    DWORD holder;
    bool kept;
  };
  const Leftover leftovers[] = {
      {"qvl1.tmp", 3600, kNobody, false},    {"qvlBEEF.tmp", 60, kNobody, false},
      {"QVL0a2f.TMP", 3600, kNobody, false}, {"qvl1234.tmp", 3600, kSave, true},
      {"qvl4321.tmp", 3600, kReader, true},  {"qvl5678.tmp", 0, kNobody, true},
      {"qvl12345.tmp", 3600, kNobody, true}, {"qvl.tmp", 3600, kNobody, true},
      {"qvlzz.tmp", 3600, kNobody, true},    {"qvlnotes.txt", 3600, kNobody, true},
      {"other.tmp", 3600, kNobody, true},
  };
  std::vector<HANDLE> held;
  for (const Leftover& leftover : leftovers) {
    const std::string path = folder_ + leftover.name;
    WriteFile(path, "x");
    Age(path, leftover.age_seconds);
    if (leftover.holder != kNobody)
      held.push_back(::CreateFileA(path.c_str(), GENERIC_READ, leftover.holder, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  // Links named like leftovers: the clean-up must not reach what they name.
  WriteFile(folder_ + "precious.txt", "the user's");
  Age(folder_ + "precious.txt", 3600);
  const bool hard = ::CreateHardLinkA((folder_ + "qvl2222.tmp").c_str(),
                                      (folder_ + "precious.txt").c_str(), nullptr);
  const bool symbolic = ::CreateSymbolicLinkA((folder_ + "qvl3333.tmp").c_str(), "precious.txt",
                                              SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
  if (!hard) std::printf("[ SKIPPED  ] a hard link named like a leftover: none can be made\n");
  if (!symbolic)
    std::printf("[ SKIPPED  ] a symbolic link named like a leftover: this system makes none\n");
  platform::RemoveAbandonedSaves(target_, [](const std::string&) { return true; });
  for (const HANDLE file : held) ::CloseHandle(file);
  for (const Leftover& leftover : leftovers)
    EXPECT_EQ(FileExists(folder_ + leftover.name), leftover.kept) << leftover.name;
  EXPECT_EQ(Read(target_), "settings");
  EXPECT_EQ(Read(folder_ + "precious.txt"), "the user's");
  if (hard) {
    EXPECT_TRUE(FileExists(folder_ + "qvl2222.tmp"));
  }
  if (symbolic) ::DeleteFileA((folder_ + "qvl3333.tmp").c_str());
}

// After ReplaceFile gave up half-way the leftover may be the only copy of the
// settings: a whole one becomes the settings file at the next start, one cut
// short stays while there is no settings file and goes once there is.
TEST_F(WinFiles, AWholeLeftoverOfAHalfDoneSaveBecomesTheSettingsFileAgain) {
  const std::string whole = SettingsFileText(DefaultSettings());
  const std::string cut = whole.substr(0, whole.size() - 3);
  using Disk = std::map<std::string, std::string>;
  const struct {
    const char* what;
    std::string left;
    bool settings_file;
    Disk files;
  } cases[] = {
      {"whole", whole, false, {{"quorvel.ini", whole}}},
      {"cut short", cut, false, {{"qvl*.tmp", cut}}},
      {"beside a settings file", whole, true, {{"quorvel.ini", "later"}}},
  };
  for (const auto& c : cases) {
    for (const std::string& name : Entries()) ::DeleteFileA((folder_ + name).c_str());
    WriteFile(target_, "old");
    Start({{}, {ERROR_UNABLE_TO_MOVE_REPLACEMENT}, {ERROR_ACCESS_DENIED}});
    ASSERT_NE(platform::win32::SaveThrough(kScripted, target_, c.left), SaveResult::kSaved)
        << c.what;
    const std::vector<std::string> left = Entries();
    ASSERT_EQ(left.size(), 1u) << c.what;
    Age(folder_ + left[0], 3600);
    if (c.settings_file) WriteFile(target_, "later");

    platform::RemoveAbandonedSaves(target_, IsWholeSettingsFile);
    EXPECT_EQ(Files(), c.files) << c.what;
  }
}
