// Test controls for the fake platform backend: an in-memory window, a settable
// clock, recorded sound/speech/dialog calls and scripted user answers. Real
// threads and real files (in a fresh temporary program folder) are used, so
// the core's threading and atomic saves are exercised for real.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace fake {

struct ControlState {
  bool exists = false;
  int check = 0;
  std::string text;
  bool visible = true;
  bool highlighted = false;
  std::string description;  // for screen readers
  // A picker's time; BuildMainWindow sets it to the clock's, as a new
  // picker shows the moment it was made.
  int picker_hour = 0;
  int picker_minute = 0;
};

// Where the fake's open-file dialog starts.
inline constexpr const char kSoundFolder[] = "/fake/sounds/";

// Back to a fresh machine: no window, no calls, no scripts, clock 00:00:00,
// a new empty program folder (the previous one is removed). Waits for every
// thread started so far.
void Reset();

// Waits until every thread the core started has ended.
void JoinThreads();

// The clock reads `hh_mm_ss` of day `day` from now on.
void SetClock(const std::string& hh_mm_ss, int day = 0);

// The temporary folder that stands for the settings folder (ends with "/").
std::string ProgramFolderPath();
// Points SettingsFolder() somewhere else (a missing folder, say).
void SetProgramFolder(const std::string& folder);
// Leaves no settings folder: SettingsFolder() is empty and
// WhyNoSettingsFolder() tells `folder` and `why` (by default "" and kNoFolder).
void RefuseSettingsFolder(const std::string& folder, platform::SaveResult why);

// The state of control `id` (created on first use for tests that need no
// window). An id that is no control of the window aborts the test. Touch only
// from the test's thread.
ControlState& Control(int id);

// Every recorded platform call in order, e.g. "PlaySoundSync C:\x.wav",
// "Speak Alarm! 7 oh 5", "Beep 500 300", "ShowStopBox It's time!|Your ...".
std::vector<std::string> Calls();
int CountCalls(const std::string& prefix);
void ClearCalls();

// Runs inside each ShowStopBox before it returns, standing for the user's
// wait and the nested message loop (deliver timer events from here).
void OnStopBox(std::function<void()> answer);
// Runs inside RunMainWindow after the start messages: the user's session.
void OnRunMainWindow(std::function<void()> session);
// Answers of the open-file dialog, in order; "" is a cancel. When none is
// queued the dialog is cancelled.
void QueueFileChoice(const std::string& path);
// Makes the next `count` thread starts fail.
void FailThreadStarts(int count);
// Whether the speech engine can create a voice (default yes).
void SetVoiceAvailable(bool available);
// Sleep(ms) sleeps ms * scale real milliseconds (default 0.02, so the 150 ms
// waits pass quickly while still yielding to other threads).
void SetSleepScale(double scale);
// Records each Sleep(ms) as "Sleep ms" (default off: alarm threads sleep often).
void RecordSleeps(bool on);
// Runs on the calling thread right after each call is recorded, whichever
// thread made it: lets a test see the order per thread or hold a thread at a
// call (say, keep a voice busy). Must be thread-safe.
void OnCall(std::function<void(const std::string& call)> observer);
// Polls `condition` until it holds or `timeout_ms` real milliseconds passed;
// returns whether it held.
bool WaitUntil(const std::function<bool()>& condition, unsigned timeout_ms = 5000);

}  // namespace fake
