// The few file system calls a save makes whose failures decide what the save
// does next. The program uses the real calls; the Wine tests script failures
// a healthy disk never shows (ReplaceFile giving up half-way, a full disk).
#pragma once

#include <windows.h>

#include <string>

#include "platform/platform.h"

namespace platform::win32 {

struct SaveCalls {
  // ReplaceFileA of `target` by `replacement`, without a backup name.
  BOOL (*replace)(const char* target, const char* replacement);
  // MoveFileExA of `from` to `to`, replacing what is there, written through.
  BOOL (*move)(const char* from, const char* to);
  BOOL (*write)(HANDLE file, const void* data, DWORD size, DWORD* written);
  void (*sleep)(DWORD milliseconds);
};

const SaveCalls& RealSaveCalls();

// platform::ReplaceFileAtomically with these calls.
SaveResult SaveThrough(const SaveCalls& calls, const std::string& path, const std::string& bytes);

}  // namespace platform::win32
