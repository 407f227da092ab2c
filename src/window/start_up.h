// The program's life: build, load, show, run, end.
#pragma once

// Returns the program's exit code once the window has been closed.
int RunQuorvel();
