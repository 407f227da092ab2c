#include "text/number_text.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

bool IsDigitIn(char c, int base) {
  if (c >= '0' && c <= '9') return c - '0' < base;
  if (base == 16) return (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
  return false;
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return (c | 0x20) - 'a' + 10;
}

// Reads digits of `base` from text[i] on; returns how many were read.
size_t ReadDigits(std::string_view text, size_t& i, int base, double& value) {
  const size_t start = i;
  while (i < text.size() && IsDigitIn(text[i], base)) value = value * base + DigitValue(text[i++]);
  return i - start;
}

double ReadRadixNumber(std::string_view text, size_t i) {
  int base = 8;
  const char letter = i < text.size() ? text[i] : '\0';
  if (letter == 'H' || letter == 'h') base = 16;
  else if (letter == 'B' || letter == 'b') base = 2;
  else if (letter == 'O' || letter == 'o' || letter == 'Q' || letter == 'q') base = 8;
  else if (!(letter >= '0' && letter <= '9')) return 0;
  if (!(letter >= '0' && letter <= '9')) ++i;
  double value = 0;
  ReadDigits(text, i, base, value);
  return value;
}

}  // namespace

double NumberFromText(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;
  if (i < text.size() && text[i] == '&') return ReadRadixNumber(text, i + 1);

  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  // Decimal digits are gathered as text and converted once, so that 0.1 reads
  // exactly as the C library reads it.
  std::string number;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') number += text[i++];
  if (i < text.size() && text[i] == '.') {
    number += text[i++];
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') number += text[i++];
  }
  if (number.empty() || number == ".") return 0;

  if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
    const size_t digits_start = j;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9') exponent += text[j++];
    if (j > digits_start) number += exponent;
  }
  const double value = std::strtod(number.c_str(), nullptr);
  return negative ? -value : value;
}

std::int32_t RoundToInt32(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  if (value <= kMin) return std::numeric_limits<std::int32_t>::min();
  if (value >= kMax) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::nearbyint(value));  // default mode: half to even
}

std::int32_t IntegerFromText(std::string_view text) { return RoundToInt32(NumberFromText(text)); }

std::string NumberToText(long long value) { return std::to_string(value); }

std::string TwoDigits(long long value) {
  // Negated as unsigned: the most negative value has no positive twin.
  const unsigned long long magnitude =
      value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  std::string text = std::to_string(magnitude);
  if (text.size() < 2) text.insert(0, 1, '0');
  return value < 0 ? "-" + text : text;
}
