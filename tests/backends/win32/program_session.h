// Runs the whole program on the test's thread while a helper thread works its
// real window with real messages, as a user (or another program) would.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace wine_test {

// Writes quorvel.ini with `settings_file` (none when empty), fixes the clock
// at 10:07:00 (a minute no default rule matches), clears the recorded calls
// and the core's state from earlier runs, then runs the program until
// `session` has returned and the window has been closed through the system
// Close command. `session` gets the main window. The file is removed after.
void RunProgram(const std::function<void(HWND)>& session,
                const std::string& settings_file = "");

// The visible top-level window with this caption, or null after `timeout_ms`.
HWND WaitForWindow(const char* caption, int timeout_ms = 5000);
// The visible top-level windows with this caption, the topmost first.
std::vector<HWND> WindowsCaptioned(const char* caption);
// Waits up to 5 s until at least `count` of them are there.
bool WaitForWindows(const char* caption, size_t count);
// True when the window's thread handles a sent message within a second.
bool Answers(HWND window);
// Waits until no window has this caption any more.
bool WaitUntilGone(const char* caption, int timeout_ms = 5000);
// Dismisses a message box with its OK button.
void PressOk(HWND box);
// The text of a message box.
std::string BoxText(HWND box);

HWND Control(HWND main, int id);
std::string Text(HWND main, int id);
// Waits up to `timeout_ms` for control `id` to show `text`; true when it did.
bool WaitForText(HWND main, int id, const std::string& text, int timeout_ms = 5000);
int Check(HWND main, int id);
// Clicks a button and returns once its action has run.
void Click(HWND main, int id);
// Clicks a button without waiting: for actions that open a dialog.
void ClickLater(HWND main, int id);
// Lets the window's thread work off what was posted to it.
void Settle();

// What a control is given when it asks the window for its colours, as it
// does before painting itself.
struct Colours {
  COLORREF brush, text, background;
};
Colours AskColours(HWND main, int id);

// The real quorvel.exe beside the tests, started in a process of its own
// with `arguments`; ended, if need be, and its settings file removed when
// this goes.
class ProgramProcess {
 public:
  explicit ProgramProcess(const std::string& arguments);
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;
  ~ProgramProcess();
  // The exit code once the process has ended; STILL_ACTIVE after `timeout_ms`.
  DWORD WaitForExit(DWORD timeout_ms);
  // Every thread of the process held, as a machine asleep holds them, and
  // let go again.
  void Suspend();
  void Resume();

 private:
  PROCESS_INFORMATION process_ = {};
};

// The local time, once at least ten seconds of its minute are left: the real
// program keeps the real clock.
SYSTEMTIME MinuteWithTimeLeft();

// The folder of the test program, which is the program folder, with "\".
std::string ProgramFolder();
std::string SettingsPath();
void WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// quorvel.ini's key/value pairs; empty when there is no file.
std::map<std::string, std::string> SavedSettings();

}  // namespace wine_test
