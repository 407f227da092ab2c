// The program's life: build, load, show, run, end.
#pragma once

// Returns the program's exit code once the window has been closed. The
// arguments go to the window system only; the program itself takes none.
int RunQuorvel(int argc, char** argv);
