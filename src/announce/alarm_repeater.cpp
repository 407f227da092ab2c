#include "announce/alarm_repeater.h"

#include "announce/speech.h"

std::atomic<int> AlarmConfirmed{0};

namespace {

// Repeaters started and not yet ended; counted by the starter, like speech
// tasks, so a repeater is counted from before its first step.
std::atomic<int> RunningRepeaters{0};

}  // namespace

void AlarmRepeater(std::string text) {
  do {
    if (SpeechBusyCount.load() == 0 && !StartSpeechTask(text)) break;
    platform::Sleep(150);
  } while (AlarmConfirmed.load() != 1);
  // Cleared before the repeater stops counting, so a new alarm that finds no
  // repeater running never sees this alarm's confirmation.
  AlarmConfirmed = 0;
  RunningRepeaters -= 1;
}

platform::Thread* StartAlarmRepeater(const std::string& text) {
  // With no repeater running, a set flag is left over from an alarm whose
  // repeater never started or gave up early: nobody would clear it, and it
  // would end this alarm after its first repetition. Only the window's thread
  // (ours) sets the flag, so nothing can set it between the test and the clear.
  if (RunningRepeaters.load() == 0) AlarmConfirmed = 0;
  RunningRepeaters += 1;
  platform::Thread* thread = platform::StartThread(AlarmRepeater, text);
  if (thread == nullptr) RunningRepeaters -= 1;
  return thread;
}
