// Each rule row's Speak and SFX radios: a group of their own, which every
// arrow key moves through, as radio groups do on Windows and in GTK.
#pragma once

#include <QWidget>

namespace linux_window {

// Each row's pair excludes each other, and only each other.
void GroupRadioPairs(QWidget* window);

}  // namespace linux_window
