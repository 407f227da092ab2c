#include <windows.h>
#include <commctrl.h>

#include "platform/platform.h"

namespace platform {

namespace {

// GetProcAddress gives a generic function pointer; going through void(*)()
// states that the cast to the real signature is meant.
template <typename Function>
Function Lookup(HMODULE library, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(library, name)));
}

}  // namespace

// Windows hands a program its command line whole: no option is the window
// system's.
int WindowSystemOptionSize(const std::string&) { return 0; }

// The arguments are the window system's on other platforms; Windows needs
// none. The library stays loaded: the time picker's window class lives in it,
// and releasing it here could unload that class before the pickers exist.
void StartWindowSystem(int, char**) {
  const HMODULE library = ::LoadLibraryA("COMCTL32.DLL");
  if (library == nullptr) return;
  using InitEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  using InitPlain = void(WINAPI*)();
  if (const auto init_ex = Lookup<InitEx>(library, "InitCommonControlsEx")) {
    INITCOMMONCONTROLSEX classes = {8, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_INTERNET_CLASSES};
    init_ex(&classes);
  } else if (const auto init = Lookup<InitPlain>(library, "InitCommonControls")) {
    init();
  }
}

}  // namespace platform
