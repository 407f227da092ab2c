// What a starter does with a thread it has just started.
#pragma once

#include "platform/platform.h"

// Gives the new thread 150 ms to get going, then closes its handle; the
// thread runs on by itself and nobody waits for its end.
void LetStartedThreadRun(platform::Thread* thread);
