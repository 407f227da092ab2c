#include "announce/alarm_repeater.h"

#include "announce/speech.h"

std::atomic<int> AlarmConfirmed{0};

namespace {

// Repeaters started and not yet ended; counted by the starter, like speech
// tasks, so a repeater is counted from before its first step.
std::atomic<int> RunningRepeaters{0};

// Takes one dismissal, if there is one, for the repeater that found it.
bool TakeConfirmation() {
  int waiting = AlarmConfirmed.load();
  while (waiting > 0)
    if (AlarmConfirmed.compare_exchange_weak(waiting, waiting - 1)) return true;
  return false;
}

}  // namespace

void AlarmRepeater(std::string text) {
  do {
    // A repeater that gives up takes no dismissal: it belongs to another
    // alarm, whose repeater would then speak on.
    if (SpeechBusyCount.load() == 0 && !StartSpeechTask(text)) break;
    platform::Sleep(150);
  } while (!TakeConfirmation());
  RunningRepeaters -= 1;
}

platform::Thread* StartAlarmRepeater(const std::string& text) {
  // With no repeater running, a dismissal is left over from an alarm whose
  // repeater never started or gave up early: nobody would take it, and it
  // would end this alarm after its first repetition. Only the window's thread
  // (ours) adds dismissals, so nothing can add one between the test and the
  // clear.
  if (RunningRepeaters.load() == 0) AlarmConfirmed = 0;
  RunningRepeaters += 1;
  platform::Thread* thread = platform::StartThread(AlarmRepeater, text);
  if (thread == nullptr) RunningRepeaters -= 1;
  return thread;
}
