// The one seam between Quorvel's portable core and the machine it runs on.
//
// Each backend (backends/win32/, backends/linux/, and the fake in tests/)
// defines every function declared here exactly once; CMake picks the backend
// at link time. Controls are addressed by their dialog control id (see
// platform/control_ids.h).
// Nothing here reports errors but a save: a service that fails simply does
// less, which is all the core ever needs to know. A settings file that cannot
// be kept is told to the user, so a save says why it failed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// --- Clock ---------------------------------------------------------------

// The local wall-clock time as seconds counted in local reckoning from a
// midnight long ago: the time of day is the count modulo 86,400, and a later
// moment has a larger count unless the clock was set back (or a time zone's
// hour went back).
std::int64_t LocalClockSeconds();

// --- Files ---------------------------------------------------------------

// What became of a save: kSaved, or why the settings file cannot be kept.
enum class SaveResult {
  kSaved,
  kNoFolder,      // no folder for the settings can be found (no home folder)
  kFolderShared,  // others may write into the folder
  kFolderNotOwn,  // the folder, or a link to it, is another user's
  kNotAFolder,    // something that is no folder has the folder's name
  kFolderMissing,
  kFolderRefused,   // the folder may not be written into, or cannot be made
  kWriteProtected,  // no write permission, the read-only attribute
  kNotAFile,        // a folder, a device or the like has the file's name
  kBrokenLink,      // the file is a link that leads nowhere
  kLinkLoop,        // the file is a link that leads round in a circle
  kInUse,           // another program holds the file
  kReadOnlyDisk,
  kDiskFull,
  kDiskError,  // any other failure
};

// The folder that holds the settings file, ending with its path separator:
// the program's own folder on Windows; on Linux that folder where it is the
// user's own and nobody else may write there (a portable copy), else the
// user's configuration folder. Empty when there is no folder fit for them:
// the settings then live in memory only.
std::string SettingsFolder();
struct RefusedFolder {
  std::string folder;  // ends with its separator; empty when none was found
  SaveResult why;
};
// Where SettingsFolder() is empty: the folder it did not take, and why.
RefusedFolder WhyNoSettingsFolder();
// The folder the open-file dialog starts in when choosing a sound.
std::string SoundFolder();

// True when `path` names an ordinary file: not a folder, not hidden, not a
// system file.
bool IsOrdinaryFile(const std::string& path);

// A settings file is about 1 KB; anything past this is no file of ours.
inline constexpr std::size_t kLargestReadableFile = std::size_t{1} << 20;

// Reads the whole file opened without sharing, waiting out a brief hold as a
// save does. False when it cannot be opened or read or holds more than
// kLargestReadableFile bytes; `bytes` is then empty.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file at `path` with exactly `bytes`, or leaves the old file
// whole: the bytes go to a temporary file in the same folder, which is then
// renamed over the target. A failed save removes its temporary file, unless
// a half-done replacement left that file as the only whole copy.
SaveResult ReplaceFileAtomically(const std::string& path, const std::string& bytes);
// Whether a file's bytes are one whole save.
using WholeFileTest = bool (*)(const std::string& bytes);
// Start-up. A temporary file of a save of `path` is abandoned when it belongs
// to the user, nobody uses it and it has not been written for some seconds.
// Where no file is at `path` (nor at the end of its link), the newest
// abandoned one that `is_whole` accepts becomes that file; while there is no
// file, the others stay. Then every abandoned one is removed. Nothing else
// in the folder is touched, nor what a link points to.
void RemoveAbandonedSaves(const std::string& path, WholeFileTest is_whole);

// --- Sound ---------------------------------------------------------------

// Plays a sound file to its end before returning.
void PlaySoundSync(const std::string& path);
// Starts a sound file playing in a loop and returns at once.
void PlaySoundLoop(const std::string& path);
// Ends a looping sound.
void StopSound();

// --- Speech --------------------------------------------------------------

struct Voice;  // one speech engine voice, owned by one speech thread

// A speech thread enters its own apartment before creating a voice and leaves
// it after releasing the voice (COM's on Windows; nothing elsewhere).
void EnterSpeechThread();
void LeaveSpeechThread();
// Null when the speech engine cannot be reached.
Voice* CreateVoice();
// Hands the text to the voice; failures are ignored by design.
void Speak(Voice* voice, const std::string& text);
// Blocks until the voice has finished speaking.
void WaitUntilDone(Voice* voice);
void ReleaseVoice(Voice* voice);
void Beep(unsigned frequency_hz, unsigned duration_ms);

// --- Threads -------------------------------------------------------------

struct Thread;  // a started thread's handle
using ThreadBody = void (*)(std::string text);

// Starts `body` on a thread of its own with a 1 MiB stack; the thread owns
// `text`. Null when the thread cannot be started. Nobody ever waits for it.
Thread* StartThread(ThreadBody body, std::string text);
// Closes the handle; the thread runs on.
void CloseThread(Thread* thread);
void Sleep(unsigned milliseconds);

// --- The main window and its controls ---------------------------------------

// Starts the window system with the program's arguments (a toolkit may take
// its own from them) and registers the control classes the window needs.
void StartWindowSystem(int argc, char** argv);
// How many arguments, from `argument` on, make up an option the window system
// takes itself (Qt's "-platform offscreen" or "--platform offscreen"): 2 for
// an option and its value, 1 for a flag or "-style=fusion", 0 when `argument`
// is no option of the window system's.
int WindowSystemOptionSize(const std::string& argument);
// Builds the hidden main window and all its controls from the control table.
void BuildMainWindow();
// Tells the core the window starts running (OnWindowStart), shows the window
// and runs its event loop until the user closes it. Each native event reaches
// the core as one call of window/main_window_proc.h.
void RunMainWindow();
// Frees what the window needed beyond its own life (the clock font).
void ReleaseWindowResources();

// Starts the window's periodic timer; each period arrives as a timer event.
void StartTimer(int timer_id, unsigned period_ms);

int GetCheck(int control_id);
void SetCheck(int control_id, int state);
// A rule row's two radio buttons: checks `checked_id`, one of the two, and
// clears the other. No other row is touched.
void CheckRadioPair(int speak_id, int sfx_id, int checked_id);
void SetControlText(int control_id, const std::string& text);
void ShowControl(int control_id, bool visible);
// Gives a rule check box the hover highlight, or the default colours back,
// and repaints it at once.
void SetHoverHighlight(int control_id, bool highlighted);
struct ClockTime {
  int hour;    // 0 to 23
  int minute;  // 0 to 59
};
// Sets a time picker to hour:minute (of a fixed day). A time that does not
// exist is refused: the picker keeps the time it showed.
void SetPickerTime(int control_id, int hour, int minute);
// The time the picker shows; a new picker shows the time it was made at.
ClockTime PickerTime(int control_id);
// Gives a control a description for screen readers beyond its name and
// state (a focused rule box's next matching time); "" takes it away. Nothing
// the window shows changes.
void SetControlDescription(int control_id, const std::string& text);
// The control id that has the keyboard focus, 0 when none of ours has it.
int FocusedControl();
void FocusControl(int control_id);

// --- Dialogs -------------------------------------------------------------

// The answer to a command-line request, lines ended by "\n": on standard
// output, or on standard error when `error`; a windowed program that has no
// console shows it in a message box instead.
void PrintAnswer(const std::string& text, bool error);

// A system-modal box with the stop icon and one OK button, no owner; returns
// when the user has dismissed it.
void ShowStopBox(const std::string& text, const std::string& caption);

struct OpenFileRequest {
  std::string title;
  std::string initial_folder;
  std::string filter_description;
  std::string filter_pattern;
  std::string default_extension;
};
// The chosen file's full path, or the empty text when the user cancels.
std::string ChooseOpenFile(const OpenFileRequest& request);

}  // namespace platform
