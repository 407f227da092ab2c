#include "backends/win32/program_session.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "announce/announcer.h"
#include "window/clock_tick.h"
#include "rules/hover_display.h"
#include "backends/win32/recorder.h"
#include "window/main_window_proc.h"
#include "window/start_up.h"

namespace wine_test {

namespace {

void ResetProgramState(const std::string& settings_file) {
  ::DeleteFileA(SettingsPath().c_str());
  if (!settings_file.empty()) WriteFile(SettingsPath(), settings_file);
  FixClock("10:07:00");
  ClearCalls();
  // The core's globals outlive a run inside one test process.
  ResetClockTick();
  HoverControl = 0;
  SavedFocus = 0;
}

// The tests say where the pointer rests with WM_SETCURSOR. Wine 10 also tells
// the window where the real pointer is whenever the window under it changes
// (the window appearing, its caption shown), and the virtual display starts
// the pointer at the screen's centre, over the centred window: that would end
// a hover a test set up. Once the window is up (Wine moves the pointer only
// for the process in front), the pointer goes to the screen's corner, which
// the window does not cover, and the window reads what it was told before.
void ParkPointerInCorner(HWND main) {
  POINT at = {-1, -1};
  for (int waited = 0; waited < 1000 && (at.x != 0 || at.y != 0); waited += 10) {
    ::SetCursorPos(0, 0);
    ::Sleep(10);
    ::GetCursorPos(&at);
  }
  RECT window = {};
  ::GetWindowRect(main, &window);
  EXPECT_FALSE(::PtInRect(&window, at)) << "the pointer stays at " << at.x << "," << at.y;
  ::Sleep(50);
}

}  // namespace

void RunProgram(const std::function<void(HWND)>& session, const std::string& settings_file) {
  ResetProgramState(settings_file);
  std::thread driver([&session] {
    const HWND main = WaitForWindow("Quorvel");
    if (main == nullptr) {
      ADD_FAILURE() << "the main window never appeared";
      return;
    }
    ParkPointerInCorner(main);
    session(main);
    ::PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  const int exit_code = RunQuorvel(0, nullptr);
  driver.join();
  EXPECT_EQ(exit_code, 0);
  EXPECT_EQ(::FindWindowA(nullptr, "Quorvel"), nullptr) << "the window outlived its program";
  ::DeleteFileA(SettingsPath().c_str());
}

HWND WaitForWindow(const char* caption, int timeout_ms) {
  for (int waited = 0; waited <= timeout_ms; waited += 10) {
    const HWND window = ::FindWindowA(nullptr, caption);
    if (window != nullptr && ::IsWindowVisible(window)) return window;
    ::Sleep(10);
  }
  return nullptr;
}

std::vector<HWND> WindowsCaptioned(const char* caption) {
  struct Search {
    const char* caption;
    std::vector<HWND> found;
  } search = {caption, {}};
  ::EnumWindows(
      [](HWND window, LPARAM context) {
        auto& search = *reinterpret_cast<Search*>(context);
        char text[256] = {};
        ::GetWindowTextA(window, text, sizeof text);
        if (std::string(text) == search.caption && ::IsWindowVisible(window))
          search.found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool WaitForWindows(const char* caption, size_t count) {
  for (int waited = 0; waited <= 5000; waited += 10) {
    if (WindowsCaptioned(caption).size() >= count) return true;
    ::Sleep(10);
  }
  return false;
}

bool Answers(HWND window) {
  DWORD_PTR answer = 0;
  return ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer) != 0;
}

bool WaitUntilGone(const char* caption, int timeout_ms) {
  for (int waited = 0; waited <= timeout_ms; waited += 10) {
    if (::FindWindowA(nullptr, caption) == nullptr) return true;
    ::Sleep(10);
  }
  return false;
}

void PressOk(HWND box) { ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

std::string BoxText(HWND box) {
  char text[512] = {};
  ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // a message box's text label
  return text;
}

HWND Control(HWND main, int id) { return ::GetDlgItem(main, id); }

std::string Text(HWND main, int id) {
  char text[256] = {};
  ::GetWindowTextA(Control(main, id), text, sizeof text);
  return text;
}

bool WaitForText(HWND main, int id, const std::string& text, int timeout_ms) {
  for (int waited = 0; waited <= timeout_ms; waited += 10) {
    if (Text(main, id) == text) return true;
    ::Sleep(10);
  }
  return false;
}

int Check(HWND main, int id) {
  return static_cast<int>(::SendMessageA(Control(main, id), BM_GETCHECK, 0, 0));
}

void Click(HWND main, int id) { ::SendMessageA(Control(main, id), BM_CLICK, 0, 0); }

void ClickLater(HWND main, int id) { ::PostMessageA(Control(main, id), BM_CLICK, 0, 0); }

void Settle() { ::Sleep(300); }

Colours AskColours(HWND main, int id) {
  const HDC dc = ::CreateCompatibleDC(nullptr);
  ::SetTextColor(dc, RGB(1, 2, 3));
  ::SetBkColor(dc, RGB(4, 5, 6));
  const auto brush = reinterpret_cast<HBRUSH>(
      ::SendMessageA(main, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(Control(main, id))));
  LOGBRUSH fill = {};
  if (brush) ::GetObjectA(brush, sizeof fill, &fill);
  const Colours colours = {fill.lbColor, ::GetTextColor(dc), ::GetBkColor(dc)};
  ::DeleteDC(dc);
  return colours;
}

ProgramProcess::ProgramProcess(const std::string& arguments) {
  std::string command = "\"" + ProgramFolder() + "quorvel.exe\" " + arguments;
  STARTUPINFOA start = {};
  start.cb = sizeof start;
  EXPECT_TRUE(::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &start, &process_));
}

ProgramProcess::~ProgramProcess() {
  if (process_.hProcess != nullptr) {
    ::TerminateProcess(process_.hProcess, 1);  // nothing when it has ended
    ::CloseHandle(process_.hThread);
    ::CloseHandle(process_.hProcess);
  }
  ::DeleteFileA(SettingsPath().c_str());
}

DWORD ProgramProcess::WaitForExit(DWORD timeout_ms) {
  DWORD exit_code = STILL_ACTIVE;
  if (::WaitForSingleObject(process_.hProcess, timeout_ms) == WAIT_OBJECT_0)
    ::GetExitCodeProcess(process_.hProcess, &exit_code);
  return exit_code;
}

namespace {

using ProcessCall = LONG(WINAPI*)(HANDLE process);

// ntdll's own calls hold and release a whole process at once.
void CallOnProcess(const char* name, HANDLE process) {
  const auto call = reinterpret_cast<ProcessCall>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), name)));
  ASSERT_NE(call, nullptr) << name;
  EXPECT_EQ(call(process), 0) << name;
}

}  // namespace

void ProgramProcess::Suspend() { CallOnProcess("NtSuspendProcess", process_.hProcess); }
void ProgramProcess::Resume() { CallOnProcess("NtResumeProcess", process_.hProcess); }

SYSTEMTIME MinuteWithTimeLeft() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  if (now.wSecond >= 50) {
    ::Sleep((61 - now.wSecond) * 1000);
    ::GetLocalTime(&now);
  }
  return now;
}

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string SettingsPath() { return ProgramFolder() + "quorvel.ini"; }

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

bool FileExists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::map<std::string, std::string> SavedSettings() {
  std::ifstream file(SettingsPath(), std::ios::binary);
  std::map<std::string, std::string> settings;
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t separator = line.find(": ");
    if (separator != std::string::npos)
      settings[line.substr(0, separator)] = line.substr(separator + 2);
  }
  return settings;
}

}  // namespace wine_test
