#include "announce/started_thread.h"

void LetStartedThreadRun(platform::Thread* thread) {
  platform::Sleep(150);
  platform::CloseThread(thread);
}
