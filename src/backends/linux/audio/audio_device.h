// The one shared sound device: open while anything sounds, closed otherwise.
//
// Every sound of the program (files, speech, tones) goes through here, each on
// a mixer channel of its own, so they can sound at once.
#pragma once

#include <functional>

struct Mix_Chunk;

namespace linux_audio {

// The mixer's format, whatever the hardware's (SDL converts on the way out),
// so sound can be decoded for it before the device opens: signed 16-bit
// native-endian, interleaved stereo. The disk driver writes exactly this.
constexpr int kDeviceRate = 44100;
constexpr int kDeviceChannels = 2;

// One sound on the device, from its start to its end.
struct Playing {
  Mix_Chunk* chunk = nullptr;
  int channel = -1;  // -1: nothing sounds
};

// Opens the device for one more sound, makes the sound with `load` (which
// needs the open device to convert to its format) and starts it; `loops` -1
// repeats it until halted. An empty Playing when the device cannot be opened,
// `load` gives nothing or no channel is free.
Playing StartSound(const std::function<Mix_Chunk*()>& load, int loops);
// Returns when the sound has been heard to its end, then frees it and lets
// the device close if nothing else sounds. Nothing happens for an empty one.
void AwaitSound(Playing& playing);
// Ends the sound at once and frees it as AwaitSound does.
void HaltSound(Playing& playing);
// Ends the sound on `channel` at once; whoever awaits it returns and frees it.
void CutShort(int channel);

// For the program's end: halts every sound, wakes everyone awaiting one, and
// returns once the device is closed (or after half a second, should a sound's
// owner not let go). From then on nothing sounds: StartSound gives an empty
// Playing, so no thread still running touches SDL's audio again.
void EndAllSound();

}  // namespace linux_audio
