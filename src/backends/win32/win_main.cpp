#include <windows.h>

#include "window/start_up.h"

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunQuorvel(__argc, __argv); }
