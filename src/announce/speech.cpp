// PLACEHOLDER: replaced by the announce module.
#include "announce/speech.h"
std::atomic<int> SpeechBusyCount{0};
void SpeakText(std::string) {}
bool StartSpeechTask(const std::string&) { return false; }
