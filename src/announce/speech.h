// Speaking one text on a thread of its own.
#pragma once

#include <atomic>
#include <string>

// Speech tasks started and not yet finished. The alarm repeater waits for it
// to reach 0 before it speaks again.
extern std::atomic<int> SpeechBusyCount;

// Thread body: speaks `text` through the speech engine (two beeps when there
// is none) and lowers SpeechBusyCount when the utterance is over.
void SpeakText(std::string text);

// Raises SpeechBusyCount and starts SpeakText with `text`; on a failed start
// the count is lowered again. True when the thread was started (its handle
// has then been waited on for 150 ms and closed).
bool StartSpeechTask(const std::string& text);
