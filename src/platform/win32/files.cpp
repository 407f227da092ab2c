#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/platform.h"

namespace platform {

namespace {

// GetModuleFileNameA's buffer; a longer path is cut to MAX_PATH characters.
constexpr DWORD kModulePathBuffer = 264;

// Saves give a virus scanner or indexer that briefly holds the file this long
// in total before they give up.
constexpr DWORD kRetryDelaysMs[] = {0, 20, 40, 80, 160};

bool IsPassingHold(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_ACCESS_DENIED || error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

std::string FolderOf(const std::string& path) {
  const size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? std::string(".\\") : path.substr(0, separator + 1);
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  size_t written = 0;
  while (written < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1u << 20));
    DWORD done = 0;
    if (!::WriteFile(file, bytes.data() + written, chunk, &done, nullptr) || done == 0) return false;
    written += done;
  }
  return true;
}

// A fresh, uniquely named file in the target's folder holding `bytes`,
// flushed to disk and closed. Empty when that fails (nothing is left behind).
std::string WriteTemporaryFile(const std::string& path, const std::string& bytes) {
  char name[MAX_PATH];
  if (::GetTempFileNameA(FolderOf(path).c_str(), "qvl", 0, name) == 0) return "";
  const HANDLE file = ::CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  bool saved = file != INVALID_HANDLE_VALUE && WriteAll(file, bytes) && ::FlushFileBuffers(file);
  if (file != INVALID_HANDLE_VALUE && !::CloseHandle(file)) saved = false;
  if (!saved) {
    ::DeleteFileA(name);
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
// is a target; a missing target is simply the temporary file renamed.
bool MoveIntoPlace(const std::string& temporary, const std::string& path) {
  if (Exists(path)) {
    if (IsHeld(path)) {
      ::SetLastError(ERROR_SHARING_VIOLATION);
      return false;
    }
    return ::ReplaceFileA(path.c_str(), temporary.c_str(), nullptr,
                          REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0;
  }
  return ::MoveFileExA(temporary.c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace

std::string ProgramFolder() {
  char buffer[kModulePathBuffer] = {};
  DWORD length = ::GetModuleFileNameA(nullptr, buffer, kModulePathBuffer);
  if (length >= MAX_PATH) length = MAX_PATH;
  const std::string path(buffer, length);
  const size_t separator = path.find_last_of('\\');
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

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
  const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char buffer[65536];
  bool ok = true;
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file, buffer, sizeof buffer, &read, nullptr)) {
      ok = false;
      break;
    }
    if (read == 0) break;
    bytes.append(buffer, read);
  }
  ::CloseHandle(file);
  if (!ok) bytes.clear();
  return ok;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& bytes) {
  const std::string temporary = WriteTemporaryFile(path, bytes);
  if (temporary.empty()) return false;
  for (const DWORD delay : kRetryDelaysMs) {
    ::Sleep(delay);
    if (MoveIntoPlace(temporary, path)) return true;
    if (!IsPassingHold(::GetLastError())) break;
  }
  ::DeleteFileA(temporary.c_str());
  return false;
}

}  // namespace platform
