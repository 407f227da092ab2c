// The one shared sound device: open while anything sounds, closed otherwise.
//
// Every sound of the program (files, speech, tones) goes through here, each on
// a channel of its own that SDL's callback adds into the device's buffer, so
// they can sound at once.
#pragma once

#include <cstdint>
#include <vector>

#include "backends/linux/audio/device_sound.h"

namespace linux_audio {

// One sound on the device, from its start to its end.
struct Playing {
  int channel = -1;  // -1: nothing sounds
};

// Opens the device for one more sound and starts `sound` on it, repeated until
// halted when `looping`. An empty Playing when the sound is empty, the device
// cannot be opened or no channel is free.
Playing StartSound(DeviceSound sound, bool looping);
// StartSound of mono signed 16-bit samples at `rate` frames a second, once.
Playing StartSamples(const std::vector<std::int16_t>& samples, int rate);
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
