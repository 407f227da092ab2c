/* The least a Win32 program with a one-second timer can cost: a window named
   like Quorvel's (so bench/idle.sh finds it) whose timer does nothing. Its
   idle numbers under Wine are the floor the real program is compared with. */
#include <windows.h>

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
  (void)previous;
  (void)command_line;
  WNDCLASSA window_class = {0};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.lpszClassName = "IdleBaseline";
  RegisterClassA(&window_class);
  HWND window = CreateWindowA("IdleBaseline", "Quorvel", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                              NULL, NULL, instance, NULL);
  ShowWindow(window, show);
  SetTimer(window, 1000, 1000, NULL);
  MSG message;
  while (GetMessageA(&message, NULL, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
