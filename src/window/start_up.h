// The program's life: build, load, show, run, end.
#pragma once

// Returns the program's exit code: once the window has been closed, or once a
// command-line request (--say-time, --help, --version) is answered. The
// arguments that are not Quorvel's own go to the window system.
int RunQuorvel(int argc, char** argv);
