// PLACEHOLDER: replaced by the window module.
#include "window/start_up.h"
int RunQuorvel() { return 0; }
