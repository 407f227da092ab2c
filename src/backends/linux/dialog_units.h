// Dialog units to pixels, computed as Windows computes them, so the Linux
// window keeps the Windows window's proportions.
#pragma once

#include <QFont>
#include <QRect>

namespace linux_window {

struct BaseUnits {
  int x;  // the average width of the 52 letters, rounded
  int y;  // the font's height
};

BaseUnits BaseUnitsOf(const QFont& font);
QRect PixelsOf(const BaseUnits& units, int x, int y, int width, int height);

}  // namespace linux_window
