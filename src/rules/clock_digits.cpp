#include "rules/clock_digits.h"

#include "text/blanks.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(std::string_view text) {
  for (char c : text)
    if (!IsDigit(c)) return false;
  return true;
}

// Far above any hour or minute, far below overflow.
constexpr int kLeadingDecimalLimit = 1000000;

}  // namespace

std::optional<ClockDigits> ClockDigitsFromText(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::string_view hour = TrimBlanks(text.substr(0, colon));
  const std::string_view rest = text.substr(colon + 1);
  const std::string_view minute = rest.substr(0, 2);
  const std::string_view seconds = rest.substr(minute.size());
  const bool seconds_fit =
      seconds.empty() || (seconds.size() == 3 && seconds[0] == ':' && AllDigits(seconds.substr(1)));
  if (hour.empty() || hour.size() > 2 || !AllDigits(hour) || minute.size() != 2 ||
      !AllDigits(minute) || !seconds_fit)
    return std::nullopt;
  const int h1 = hour.size() == 2 ? hour[0] - '0' : 0;
  return ClockDigits{h1, hour.back() - '0', minute[0] - '0', minute[1] - '0'};
}

int HourOf(const ClockDigits& digits) { return digits.h1 * 10 + digits.h2; }
int MinuteOf(const ClockDigits& digits) { return digits.m1 * 10 + digits.m2; }

int TwelveHour(int hour) {
  if (hour == 0) return 12;
  return hour > 12 ? hour - 12 : hour;
}

ClockDigits TwelveHourDigits(const ClockDigits& digits) {
  const int hour = TwelveHour(HourOf(digits));
  return ClockDigits{hour / 10, hour % 10, digits.m1, digits.m2};
}

int LeadingDecimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  int value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i)
    if (value < kLeadingDecimalLimit) value = value * 10 + (text[i] - '0');
  return value;
}
