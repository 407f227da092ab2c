// A windowed program has no console of its own: an answer goes to a standard
// handle someone redirected (a script, a test), else into a message box.
#include <windows.h>

#include <string>

#include "platform/platform.h"

namespace platform {

void PrintAnswer(const std::string& text, bool error) {
  const HANDLE stream = ::GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  DWORD written = 0;
  if (stream != nullptr && stream != INVALID_HANDLE_VALUE &&
      ::GetFileType(stream) != FILE_TYPE_UNKNOWN &&
      ::WriteFile(stream, text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
    return;
  ::MessageBoxA(nullptr, text.c_str(), "Quorvel",
                MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION));
}

}  // namespace platform
