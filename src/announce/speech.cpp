#include "announce/speech.h"

#include "announce/started_thread.h"
#include "platform/platform.h"

std::atomic<int> SpeechBusyCount{0};

void SpeakText(std::string text) {
  platform::EnterSpeechThread();
  platform::Voice* voice = platform::CreateVoice();
  if (voice == nullptr) {
    // No speech engine: the user still hears that something was due.
    platform::Beep(500, 300);
    platform::Beep(1000, 300);
  } else {
    platform::Speak(voice, text);
    platform::WaitUntilDone(voice);
    // Stay busy a moment longer so a repeated alarm leaves a pause between
    // utterances.
    platform::Sleep(150);
  }
  SpeechBusyCount -= 1;
  if (voice != nullptr) platform::ReleaseVoice(voice);
  platform::LeaveSpeechThread();
}

bool StartSpeechTask(const std::string& text) {
  // Counted before the start so the task is busy from its very first step.
  SpeechBusyCount += 1;
  platform::Thread* thread = platform::StartThread(SpeakText, text);
  if (thread == nullptr) {
    SpeechBusyCount -= 1;
    return false;
  }
  LetStartedThreadRun(thread);
  return true;
}
