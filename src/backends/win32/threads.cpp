#include <windows.h>

#include <memory>

#include "platform/platform.h"

struct platform::Thread {
  HANDLE handle;
};

namespace platform {

namespace {

constexpr SIZE_T kStackBytes = 1024 * 1024;

struct ThreadStart {
  ThreadBody body;
  std::string text;
};

DWORD WINAPI RunThread(LPVOID parameter) {
  std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(parameter));
  start->body(std::move(start->text));
  return 0;
}

}  // namespace

Thread* StartThread(ThreadBody body, std::string text) {
  auto start = std::make_unique<ThreadStart>(ThreadStart{body, std::move(text)});
  const HANDLE handle = ::CreateThread(nullptr, kStackBytes, RunThread, start.get(), 0, nullptr);
  if (handle == nullptr) return nullptr;
  start.release();  // the thread owns it now
  return new Thread{handle};
}

void CloseThread(Thread* thread) {
  if (thread == nullptr) return;
  ::CloseHandle(thread->handle);
  delete thread;
}

void Sleep(unsigned milliseconds) { ::Sleep(milliseconds); }

}  // namespace platform
