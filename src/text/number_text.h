// Numbers read from and written to text the way the settings file and the
// window have always done it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Reads the number at the start of `text`: leading blanks, tabs and LFs are
// skipped; then an optional sign, digits with an optional point and fraction,
// and an optional exponent (E, e, D or d). "&H", "&B", "&O"/"&Q" and "&"
// followed by a digit read hexadecimal, binary and octal. Reading stops at the
// first byte that cannot continue the number; no number reads as 0.
double NumberFromText(std::string_view text);

// Rounds to the nearest integer, a half going to the even neighbour, clamped
// to the 32-bit range so that a hand-edited 1e20 cannot overflow.
std::int32_t RoundToInt32(double value);

// NumberFromText followed by RoundToInt32.
std::int32_t IntegerFromText(std::string_view text);

// Decimal, "-" for negatives, no blanks.
std::string NumberToText(long long value);

// Decimal padded to at least two digits with a leading zero ("07", "12").
std::string TwoDigits(long long value);
