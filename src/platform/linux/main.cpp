#include "window/start_up.h"

int main(int argc, char** argv) { return RunQuorvel(argc, argv); }
