// Playing one sound effect on a thread of its own, so that the window keeps
// answering while a long WAV plays.
#pragma once

#include <atomic>
#include <string>

// Sound effects started and not yet played to their end. The clock holds a
// new minute's announcement back while one plays, so that a sound still ends
// before the next announcement starts.
extern std::atomic<int> SoundBusyCount;

// Plays `path` to its end on a thread of its own; where no thread can be
// started, on this one.
void StartSoundTask(const std::string& path);
