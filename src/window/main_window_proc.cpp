// PLACEHOLDER: replaced by the window module.
#include "window/main_window_proc.h"
int SavedFocus = 0;
std::intptr_t MainWindowProc(WindowMessage, std::uintptr_t) { return 0; }
