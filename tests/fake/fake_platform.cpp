#include "fake/fake_platform.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

#include "platform/platform.h"
#include "backends/posix/posix_files.h"
#include "support/clock_seconds.h"
#include "window/control_table.h"
#include "window/main_window_proc.h"

namespace {

// Calls from speech and alarm threads land here too, hence the mutex.
struct FakeMachine {
  std::mutex mutex;
  std::vector<std::string> calls;
  std::int64_t clock = 0;
  std::string program_folder;
  platform::RefusedFolder refused_folder{"", platform::SaveResult::kNoFolder};
  std::string made_folder;  // the temporary folder Reset made, removed with the next

  std::map<int, fake::ControlState> controls;
  int focused = 0;
  std::vector<std::thread> threads;
  int failing_thread_starts = 0;
  bool voice_available = true;
  double sleep_scale = 0.02;
  bool record_sleeps = false;
  std::function<void(const std::string&)> call_observer;
  std::function<void()> stop_box_answer;
  std::function<void()> window_session;
  std::deque<std::string> file_choices;

  ~FakeMachine() { RemoveMadeFolder(); }
  void RemoveMadeFolder() {
    std::error_code ignored;
    if (!made_folder.empty()) std::filesystem::remove_all(made_folder, ignored);
    made_folder.clear();
  }
};

FakeMachine& Machine() {
  static FakeMachine machine;
  return machine;
}

// Outside the mutex, so the observer may read the calls or block.
void Observe(const std::string& call) {
  std::function<void(const std::string&)> observer;
  {
    std::lock_guard<std::mutex> lock(Machine().mutex);
    observer = Machine().call_observer;
  }
  if (observer) observer(call);
}

void Record(const std::string& call) {
  {
    std::lock_guard<std::mutex> lock(Machine().mutex);
    Machine().calls.push_back(call);
  }
  Observe(call);
}

std::string MakeTemporaryFolder() {
  char pattern[] = "/tmp/quorvel-test-XXXXXX";
  const char* made = mkdtemp(pattern);
  return made ? std::string(made) + "/" : std::string("/tmp/");
}

struct FakeThread {};  // the fake's handles carry nothing
FakeThread the_handle;

}  // namespace

struct platform::Voice {};

namespace fake {

void JoinThreads() {
  for (;;) {
    std::vector<std::thread> running;
    {
      std::lock_guard<std::mutex> lock(Machine().mutex);
      running.swap(Machine().threads);
    }
    if (running.empty()) return;
    for (auto& thread : running) thread.join();
  }
}

void Reset() {
  JoinThreads();
  FakeMachine& m = Machine();
  std::lock_guard<std::mutex> lock(m.mutex);
  m.calls.clear();
  m.clock = 0;
  m.RemoveMadeFolder();
  m.program_folder = m.made_folder = MakeTemporaryFolder();
  m.refused_folder = {"", platform::SaveResult::kNoFolder};
  m.controls.clear();
  m.focused = 0;
  m.failing_thread_starts = 0;
  m.voice_available = true;
  m.sleep_scale = 0.02;
  m.record_sleeps = false;
  m.call_observer = nullptr;
  m.stop_box_answer = nullptr;
  m.window_session = nullptr;
  m.file_choices.clear();
}

void SetClock(const std::string& hh_mm_ss, int day) {
  std::lock_guard<std::mutex> lock(Machine().mutex);
  Machine().clock = test_clock::SecondsAt(hh_mm_ss, day);
}

std::string ProgramFolderPath() {
  std::lock_guard<std::mutex> lock(Machine().mutex);
  return Machine().program_folder;
}

void SetProgramFolder(const std::string& folder) {
  std::lock_guard<std::mutex> lock(Machine().mutex);
  Machine().program_folder = folder;
}

void RefuseSettingsFolder(const std::string& folder, platform::SaveResult why) {
  std::lock_guard<std::mutex> lock(Machine().mutex);
  Machine().program_folder.clear();
  Machine().refused_folder = {folder, why};
}

ControlState& Control(int id) {
  // A mistyped id would otherwise pass a test silently.
  bool known = false;
  for (const ControlSpec& spec : kControls) known = known || spec.id == id;
  if (!known) {
    std::fprintf(stderr, "fake::Control: %d is no control of the window\n", id);
    std::abort();
  }
  ControlState& state = Machine().controls[id];
  state.exists = true;
  return state;
}

std::vector<std::string> Calls() {
  std::lock_guard<std::mutex> lock(Machine().mutex);
  return Machine().calls;
}

int CountCalls(const std::string& prefix) {
  int count = 0;
  for (const auto& call : Calls())
    if (call.compare(0, prefix.size(), prefix) == 0) ++count;
  return count;
}

void ClearCalls() {
  std::lock_guard<std::mutex> lock(Machine().mutex);
  Machine().calls.clear();
}

void OnStopBox(std::function<void()> answer) {
  Machine().stop_box_answer = std::move(answer);
}

void OnRunMainWindow(std::function<void()> session) {
  Machine().window_session = std::move(session);
}

void QueueFileChoice(const std::string& path) {
  Machine().file_choices.push_back(path);
}

void FailThreadStarts(int count) {
  std::lock_guard<std::mutex> lock(Machine().mutex);
  Machine().failing_thread_starts = count;
}

void SetVoiceAvailable(bool available) {
  std::lock_guard<std::mutex> lock(Machine().mutex);
  Machine().voice_available = available;
}

void SetSleepScale(double scale) {
  std::lock_guard<std::mutex> lock(Machine().mutex);
  Machine().sleep_scale = scale;
}

void RecordSleeps(bool on) {
  std::lock_guard<std::mutex> lock(Machine().mutex);
  Machine().record_sleeps = on;
}

void OnCall(std::function<void(const std::string& call)> observer) {
  std::lock_guard<std::mutex> lock(Machine().mutex);
  Machine().call_observer = std::move(observer);
}

bool WaitUntil(const std::function<bool()>& condition, unsigned timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace fake

namespace platform {

std::int64_t LocalClockSeconds() {
  std::lock_guard<std::mutex> lock(Machine().mutex);
  return Machine().clock;
}

std::string SettingsFolder() { return fake::ProgramFolderPath(); }

std::string SoundFolder() { return fake::kSoundFolder; }

RefusedFolder WhyNoSettingsFolder() {
  std::lock_guard<std::mutex> lock(Machine().mutex);
  return Machine().refused_folder;
}

SaveResult ReplaceFileAtomically(const std::string& path, const std::string& bytes) {
  return posix::ReplaceFileAtomically(path, bytes);
}

void PlaySoundSync(const std::string& path) { Record("PlaySoundSync " + path); }
void PlaySoundLoop(const std::string& path) { Record("PlaySoundLoop " + path); }
void StopSound() { Record("StopSound"); }

void EnterSpeechThread() { Record("EnterSpeechThread"); }
void LeaveSpeechThread() { Record("LeaveSpeechThread"); }

Voice* CreateVoice() {
  bool available;
  {
    std::lock_guard<std::mutex> lock(Machine().mutex);
    available = Machine().voice_available;
  }
  Record(available ? "CreateVoice" : "CreateVoice failed");
  return available ? new Voice : nullptr;
}

void Speak(Voice*, const std::string& text) { Record("Speak " + text); }

void WaitUntilDone(Voice*) { Record("WaitUntilDone"); }

void ReleaseVoice(Voice* voice) {
  Record("ReleaseVoice");
  delete voice;
}

void Beep(unsigned frequency_hz, unsigned duration_ms) {
  Record("Beep " + std::to_string(frequency_hz) + " " + std::to_string(duration_ms));
}

Thread* StartThread(ThreadBody body, std::string text) {
  bool started;
  {
    // Recorded under the same lock as the start, so before the thread's calls.
    std::lock_guard<std::mutex> lock(Machine().mutex);
    started = Machine().failing_thread_starts == 0;
    if (started) {
      Machine().calls.push_back("StartThread");
      Machine().threads.emplace_back(body, std::move(text));
    } else {
      --Machine().failing_thread_starts;
      Machine().calls.push_back("StartThread failed");
    }
  }
  Observe(started ? "StartThread" : "StartThread failed");
  return started ? reinterpret_cast<Thread*>(&the_handle) : nullptr;
}

void CloseThread(Thread*) { Record("CloseThread"); }

void Sleep(unsigned milliseconds) {
  double scale;
  bool recorded;
  {
    std::lock_guard<std::mutex> lock(Machine().mutex);
    scale = Machine().sleep_scale;
    recorded = Machine().record_sleeps;
  }
  if (recorded) Record("Sleep " + std::to_string(milliseconds));
  std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(milliseconds * scale));
}

void StartWindowSystem(int, char**) { Record("StartWindowSystem"); }

// A toolkit of two options, taken as Qt takes its own: "-platform NAME" and
// "-reverse", with one dash or two.
int WindowSystemOptionSize(const std::string& argument) {
  const std::string name = argument.rfind("--", 0) == 0 ? argument.substr(1) : argument;
  return name == "-platform" ? 2 : name == "-reverse" ? 1 : 0;
}

void BuildMainWindow() {
  Record("BuildMainWindow");
  for (const ControlSpec& spec : kControls) {
    fake::ControlState& state = fake::Control(spec.id);
    state.text = spec.text;
    state.visible = spec.kind != ControlKind::CaptionLabel;
    // A new picker shows the moment it was made, as the real one does.
    if (spec.kind == ControlKind::AlarmPicker) {
      const std::int64_t minute_of_day = LocalClockSeconds() / 60 % (24 * 60);
      state.picker_hour = static_cast<int>(minute_of_day / 60);
      state.picker_minute = static_cast<int>(minute_of_day % 60);
    }
  }
}

void RunMainWindow() {
  Record("RunMainWindow");
  OnWindowStart();
  if (Machine().window_session) Machine().window_session();
}

void ReleaseWindowResources() { Record("ReleaseWindowResources"); }

void StartTimer(int timer_id, unsigned period_ms) {
  Record("StartTimer " + std::to_string(timer_id) + " " + std::to_string(period_ms));
}

int GetCheck(int control_id) { return fake::Control(control_id).check; }
void SetCheck(int control_id, int state) { fake::Control(control_id).check = state; }

void CheckRadioPair(int speak_id, int sfx_id, int checked_id) {
  fake::Control(speak_id).check = speak_id == checked_id ? 1 : 0;
  fake::Control(sfx_id).check = sfx_id == checked_id ? 1 : 0;
}
void SetControlText(int control_id, const std::string& text) {
  fake::Control(control_id).text = text;
}
void ShowControl(int control_id, bool visible) { fake::Control(control_id).visible = visible; }

void SetHoverHighlight(int control_id, bool highlighted) {
  fake::Control(control_id).highlighted = highlighted;
  Record(std::string(highlighted ? "Highlight " : "Unhighlight ") + std::to_string(control_id));
}

void SetPickerTime(int control_id, int hour, int minute) {
  Record("SetPickerTime " + std::to_string(control_id) + " " + std::to_string(hour) + ":" +
         std::to_string(minute));
  // A real picker refuses a time that does not exist and keeps its old one.
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59) return;
  fake::ControlState& state = fake::Control(control_id);
  state.picker_hour = hour;
  state.picker_minute = minute;
}

ClockTime PickerTime(int control_id) {
  const fake::ControlState& state = fake::Control(control_id);
  return {state.picker_hour, state.picker_minute};
}

void SetControlDescription(int control_id, const std::string& text) {
  fake::Control(control_id).description = text;
  Record("Describe " + std::to_string(control_id) + " " + text);
}

int FocusedControl() { return Machine().focused; }
void FocusControl(int control_id) {
  Machine().focused = control_id;
  Record("FocusControl " + std::to_string(control_id));
}

void ShowStopBox(const std::string& text, const std::string& caption) {
  Record("ShowStopBox " + caption + "|" + text);
  if (Machine().stop_box_answer) Machine().stop_box_answer();
  Record("StopBox dismissed");
}

void PrintAnswer(const std::string& text, bool error) {
  Record((error ? "PrintError " : "PrintAnswer ") + text);
}

std::string ChooseOpenFile(const OpenFileRequest& request) {
  Record("ChooseOpenFile " + request.title + "|" + request.initial_folder + "|" +
         request.filter_description + "|" + request.filter_pattern + "|" +
         request.default_extension);
  if (Machine().file_choices.empty()) return "";
  std::string choice = Machine().file_choices.front();
  Machine().file_choices.pop_front();
  return choice;
}

}  // namespace platform
