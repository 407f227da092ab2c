#include "backends/linux/dialog_units.h"

#include <QFontMetrics>

namespace linux_window {

namespace {

// MulDiv: the product rounded to the nearest integer.
int Scale(int value, int numerator, int denominator) {
  return (value * numerator * 2 + denominator) / (denominator * 2);
}

}  // namespace

BaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters =
      metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  return {(letters / 26 + 1) / 2, metrics.height()};
}

// A horizontal unit is a quarter of the base width, a vertical one an eighth
// of the base height.
QRect PixelsOf(const BaseUnits& units, int x, int y, int width, int height) {
  const int left = Scale(x, units.x, 4);
  const int top = Scale(y, units.y, 8);
  return QRect(left, top, Scale(x + width, units.x, 4) - left,
               Scale(y + height, units.y, 8) - top);
}

}  // namespace linux_window
