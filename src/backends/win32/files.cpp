#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "backends/win32/save_calls.h"

namespace platform {

namespace {

// GetModuleFileNameA's buffer; a longer path is cut to MAX_PATH characters.
constexpr DWORD kModulePathBuffer = 264;

// Between attempts, a save gives a virus scanner or indexer that briefly
// holds the file this long in total before it gives up.
constexpr DWORD kRetryDelaysMs[] = {20, 40, 80, 160};
constexpr size_t kAttempts = sizeof kRetryDelaysMs / sizeof kRetryDelaysMs[0] + 1;

// A temporary file written this recently may belong to a save that has
// closed it and is about to rename it (FAT keeps write times to 2 s).
constexpr ULONGLONG kAbandonedAfter100ns = 10ull * 10000000ull;

// Only a hold passes. A read-only file or folder, or a refusal ReplaceFile
// gives after the probe found nobody holding the file (it leaves both files
// under their names then), will be the same in 300 ms.
bool IsPassingHold(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

std::string FolderOf(const std::string& path) {
  const size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? std::string(".\\") : path.substr(0, separator + 1);
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// "qvl", one to four hex digits, ".tmp", in any case: the names the save
// gives its temporary files, as GetTempFileNameA gave them before.
bool IsSaveTemporaryName(const std::string& name) {
  const size_t digits = name.size() - std::min<size_t>(name.size(), 7);
  if (digits < 1 || digits > 4 || ::_strnicmp(name.c_str(), "qvl", 3) != 0 ||
      ::_stricmp(name.c_str() + 3 + digits, ".tmp") != 0)
    return false;
  return std::all_of(name.begin() + 3, name.begin() + 3 + digits, IsHexDigit);
}

bool WriteAll(const win32::SaveCalls& calls, HANDLE file, const std::string& bytes) {
  size_t written = 0;
  while (written < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1u << 20));
    DWORD done = 0;
    if (!calls.write(file, bytes.data() + written, chunk, &done) || done == 0) return false;
    written += done;
  }
  return true;
}

// A new file of the save's own name pattern, made here rather than by
// GetTempFileNameA so that it is open without sharing from the moment it
// exists until its bytes are on disk: a clean-up in another running copy
// cannot open it meanwhile.
HANDLE CreateTemporaryFile(const std::string& folder, std::string& name) {
  DWORD unique = (::GetTickCount() ^ (::GetCurrentProcessId() << 7)) & 0xFFFF;
  for (DWORD tried = 0; tried < 0x10000; ++tried, unique = (unique + 1) & 0xFFFF) {
    char leaf[16];
    std::snprintf(leaf, sizeof leaf, "qvl%04lX.tmp", static_cast<unsigned long>(unique));
    name = folder + leaf;
    const HANDLE file = ::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  name.clear();
  return INVALID_HANDLE_VALUE;
}

// A fresh, uniquely named file in the target's folder holding `bytes`,
// flushed to disk and closed. Empty when that fails (nothing is left behind).
std::string WriteTemporaryFile(const win32::SaveCalls& calls, const std::string& path,
                               const std::string& bytes) {
  std::string name;
  const HANDLE file = CreateTemporaryFile(FolderOf(path), name);
  if (file == INVALID_HANDLE_VALUE) return "";
  bool saved = WriteAll(calls, file, bytes) && ::FlushFileBuffers(file);
  DWORD error = saved ? ERROR_SUCCESS : ::GetLastError();  // the save tells the user why
  if (!::CloseHandle(file) && saved) {
    saved = false;
    error = ::GetLastError();
  }
  if (!saved) {
    ::DeleteFileA(name.c_str());
    ::SetLastError(error);
    return "";
  }
  return name;
}

bool Exists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Asks for the access a replacement needs before trying it: some ReplaceFile
// implementations leave files of their own behind when the target is held.
bool IsHeld(const std::string& path) {
  const HANDLE probe =
      ::CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_SHARING_VIOLATION;
  ::CloseHandle(probe);
  return false;
}

// ReplaceFile keeps the target's identity (attributes, security) where there
// is a target; a missing target is simply the temporary file renamed. When
// ReplaceFile gives up after moving the old file away (deleted, or under a
// name of its own choosing) the temporary file is the only copy left, and
// only the rename remains to be done: `old_file_gone` says so from then on.
bool MoveIntoPlace(const win32::SaveCalls& calls, const std::string& temporary,
                   const std::string& path, bool& old_file_gone) {
  if (!old_file_gone && Exists(path)) {
    if (IsHeld(path)) {
      ::SetLastError(ERROR_SHARING_VIOLATION);
      return false;
    }
    if (calls.replace(path.c_str(), temporary.c_str())) return true;
    const DWORD error = ::GetLastError();
    if (error != ERROR_UNABLE_TO_MOVE_REPLACEMENT && error != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
      return false;
    old_file_gone = true;
  }
  return calls.move(temporary.c_str(), path.c_str());
}

// Reads an open file to its end; false on a read error or past the limit.
bool ReadOpenFile(HANDLE file, std::string& bytes) {
  bytes.clear();
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file, &size) ||
      static_cast<ULONGLONG>(size.QuadPart) > kLargestReadableFile)
    return false;
  char buffer[65536];
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file, buffer, sizeof buffer, &read, nullptr) ||
        bytes.size() + read > kLargestReadableFile)
      break;
    if (read == 0) return true;
    bytes.append(buffer, read);
  }
  bytes.clear();
  return false;
}

// Opens `path` to read it without sharing, waiting out a brief hold as a save
// does.
HANDLE OpenToReadWaitingOutHolds(const std::string& path) {
  for (size_t attempt = 0; attempt < kAttempts; ++attempt) {
    if (attempt > 0) ::Sleep(kRetryDelaysMs[attempt - 1]);
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || !IsPassingHold(::GetLastError())) return file;
  }
  return INVALID_HANDLE_VALUE;
}

struct Leftover {
  HANDLE file;  // exclusive: no new save can take the name meanwhile
  std::string path;
  ULONGLONG written;
};

// Opens `path` when it is a temporary file nobody is using: nobody else may
// have it open (a running save keeps its file open without sharing while it
// writes) and it has not been written lately (after writing, a save closes
// its file for the moment the rename takes). A link is opened as itself and
// never counts, so what it points to is never touched; nor does a file with
// a second name.
bool OpenIfAbandoned(const std::string& path, Leftover& leftover) {
  const HANDLE file =
      ::CreateFileA(path.c_str(), GENERIC_READ | DELETE | FILE_READ_ATTRIBUTES, 0, nullptr,
                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  const ULONGLONG today = (ULONGLONG{now.dwHighDateTime} << 32) | now.dwLowDateTime;
  if (::GetFileInformationByHandle(file, &info) &&
      (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0 &&
      info.nNumberOfLinks == 1) {
    const ULONGLONG then = (ULONGLONG{info.ftLastWriteTime.dwHighDateTime} << 32) |
                           info.ftLastWriteTime.dwLowDateTime;
    if (today > then && today - then >= kAbandonedAfter100ns) {
      leftover = {file, path, then};
      return true;
    }
  }
  ::CloseHandle(file);
  return false;
}

// The newest leftover that holds a whole save takes the settings file's name;
// the move fails when a file has appeared there meanwhile.
bool RestoreNewestWhole(std::vector<Leftover>& leftovers, const std::string& path,
                        WholeFileTest is_whole) {
  std::sort(leftovers.begin(), leftovers.end(),
            [](const Leftover& a, const Leftover& b) { return a.written > b.written; });
  for (Leftover& leftover : leftovers) {
    std::string bytes;
    if (!ReadOpenFile(leftover.file, bytes) || !is_whole(bytes)) continue;
    ::CloseHandle(leftover.file);
    leftover.file = INVALID_HANDLE_VALUE;
    return ::MoveFileExA(leftover.path.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
  }
  return false;
}

// What a save's last error means for the file at `path`.
SaveResult ResultOfError(DWORD error, const std::string& path) {
  switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return SaveResult::kInUse;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return SaveResult::kDiskFull;
    case ERROR_WRITE_PROTECT:
      return SaveResult::kReadOnlyDisk;
    case ERROR_PATH_NOT_FOUND:
      return SaveResult::kFolderMissing;
    case ERROR_ACCESS_DENIED: {
      const DWORD attributes = ::GetFileAttributesA(path.c_str());
      if (attributes == INVALID_FILE_ATTRIBUTES) return SaveResult::kFolderRefused;
      if (attributes & FILE_ATTRIBUTE_DIRECTORY) return SaveResult::kNotAFile;
      if (attributes & FILE_ATTRIBUTE_READONLY) return SaveResult::kWriteProtected;
      return SaveResult::kFolderRefused;
    }
    default:
      return SaveResult::kDiskError;
  }
}

BOOL RealReplace(const char* target, const char* replacement) {
  return ::ReplaceFileA(target, replacement, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                        nullptr);
}

BOOL RealMove(const char* from, const char* to) {
  return ::MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

BOOL RealWrite(HANDLE file, const void* data, DWORD size, DWORD* written) {
  return ::WriteFile(file, data, size, written, nullptr);
}

void RealSleep(DWORD milliseconds) { ::Sleep(milliseconds); }

}  // namespace

namespace win32 {

const SaveCalls& RealSaveCalls() {
  static const SaveCalls calls = {RealReplace, RealMove, RealWrite, RealSleep};
  return calls;
}

SaveResult SaveThrough(const SaveCalls& calls, const std::string& path, const std::string& bytes) {
  const std::string temporary = WriteTemporaryFile(calls, path, bytes);
  if (temporary.empty()) return ResultOfError(::GetLastError(), path);
  bool old_file_gone = false;
  for (size_t attempt = 0; attempt < kAttempts; ++attempt) {
    if (attempt > 0) calls.sleep(kRetryDelaysMs[attempt - 1]);
    if (MoveIntoPlace(calls, temporary, path, old_file_gone)) return SaveResult::kSaved;
    if (!IsPassingHold(::GetLastError())) break;
  }
  const DWORD error = ::GetLastError();
  // Once the old file is gone the temporary file holds the only settings on
  // disk; the next save renames its own file into place.
  if (!old_file_gone) ::DeleteFileA(temporary.c_str());
  return ResultOfError(error, path);
}

}  // namespace win32

std::string SettingsFolder() {
  char buffer[kModulePathBuffer] = {};
  DWORD length = ::GetModuleFileNameA(nullptr, buffer, kModulePathBuffer);
  if (length >= MAX_PATH) length = MAX_PATH;
  const std::string path(buffer, length);
  const size_t separator = path.find_last_of('\\');
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::string SoundFolder() { return "C:\\Windows\\Media\\"; }

bool IsOrdinaryFile(const std::string& path) {
  // A search pattern would report whatever file it happens to match first.
  if (path.empty() || path.find_first_of("*?") != std::string::npos) return false;
  WIN32_FIND_DATAA found;
  const HANDLE search = ::FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  ::FindClose(search);
  const DWORD unwanted = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return (found.dwFileAttributes & unwanted) == 0;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  const HANDLE file = OpenToReadWaitingOutHolds(path);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool ok = ReadOpenFile(file, bytes);
  ::CloseHandle(file);
  return ok;
}

RefusedFolder WhyNoSettingsFolder() { return {"", SaveResult::kNoFolder}; }

SaveResult ReplaceFileAtomically(const std::string& path, const std::string& bytes) {
  return win32::SaveThrough(win32::RealSaveCalls(), path, bytes);
}

void RemoveAbandonedSaves(const std::string& path, WholeFileTest is_whole) {
  const std::string folder = FolderOf(path);
  std::vector<Leftover> leftovers;
  WIN32_FIND_DATAA found;
  const HANDLE search = ::FindFirstFileA((folder + "qvl*.tmp").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      Leftover leftover;
      const DWORD unwanted = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
      if ((found.dwFileAttributes & unwanted) == 0 && IsSaveTemporaryName(found.cFileName) &&
          OpenIfAbandoned(folder + found.cFileName, leftover))
        leftovers.push_back(leftover);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  // When ReplaceFile gave up half-way a leftover may hold the only copy of
  // the settings: a whole one becomes the file again; while there is no
  // file, the others stay.
  const bool settings_file = Exists(path) || RestoreNewestWhole(leftovers, path, is_whole);
  for (const Leftover& leftover : leftovers) {
    if (leftover.file == INVALID_HANDLE_VALUE) continue;
    if (settings_file) {
      FILE_DISPOSITION_INFO dispose = {TRUE};
      ::SetFileInformationByHandle(leftover.file, FileDispositionInfo, &dispose, sizeof dispose);
    }
    ::CloseHandle(leftover.file);
  }
}

}  // namespace platform
