// The system's message box and open-file dialog.
#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "platform/platform.h"
#include "backends/win32/main_window.h"

namespace platform {

namespace {

constexpr UINT kStopBoxStyle = MB_OK | MB_ICONHAND | MB_SYSTEMMODAL;  // 0x1010
constexpr DWORD kChosenPathBytes = 32768;
constexpr int kDialogOffset = 30;  // pixels right of and below the main window's corner

// Places the open-file dialog once it is laid out; the hook's own window is
// an empty child of the real dialog.
UINT_PTR CALLBACK PlaceOpenDialog(HWND child, UINT message, WPARAM, LPARAM lparam) {
  if (message != WM_NOTIFY) return 0;
  const auto* notice = reinterpret_cast<const OFNOTIFYA*>(lparam);
  if (notice->hdr.code != CDN_INITDONE) return 0;
  RECT owner;
  if (notice->lpOFN->hwndOwner != nullptr && ::GetWindowRect(notice->lpOFN->hwndOwner, &owner))
    ::SetWindowPos(::GetParent(child), nullptr, owner.left + kDialogOffset,
                   owner.top + kDialogOffset, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}

}  // namespace

void ShowStopBox(const std::string& text, const std::string& caption) {
  ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), kStopBoxStyle);
}

std::string ChooseOpenFile(const OpenFileRequest& request) {
  // Description and pattern, each NUL-ended, and one more NUL ends the list.
  std::string filter = request.filter_description;
  filter += '\0';
  filter += request.filter_pattern;
  filter += '\0';

  std::vector<char> chosen(kChosenPathBytes, '\0');
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = win32::MainWindow();
  dialog.lpstrFilter = filter.c_str();  // c_str() adds the list's final NUL
  dialog.lpstrFile = chosen.data();
  dialog.nMaxFile = kChosenPathBytes;
  dialog.lpstrInitialDir = request.initial_folder.c_str();
  dialog.lpstrTitle = request.title.c_str();
  dialog.lpstrDefExt = request.default_extension.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                 OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_CREATEPROMPT | OFN_OVERWRITEPROMPT |
                 OFN_ENABLEHOOK;
  dialog.lpfnHook = PlaceOpenDialog;
  if (!::GetOpenFileNameA(&dialog)) return "";
  return chosen.data();
}

}  // namespace platform
