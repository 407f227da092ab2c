#include <windows.h>

#include "window/start_up.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunQuorvel(); }
