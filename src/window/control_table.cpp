// PLACEHOLDER: replaced by the window module.
#include "window/control_table.h"
const std::array<ControlSpec, kControlCount> kControls{};
const WindowProperties kWindow{};
