#include "rules/digit_rules.h"

#include <initializer_list>

namespace {

// "1 2 3": single digits joined by blanks.
std::string Spaced(std::initializer_list<int> digits) {
  std::string words;
  for (int digit : digits) {
    if (!words.empty()) words += ' ';
    words += static_cast<char>('0' + digit);
  }
  return words;
}

// "12": two digits read as one number.
std::string Paired(int first, int second) {
  return {static_cast<char>('0' + first), static_cast<char>('0' + second)};
}

// One pass over rules 0 to 6; true when a match ends the whole evaluation.
bool RunPass(const ClockDigits& d, const SaySwitches& say, Outcome& outcome) {
  outcome = Outcome{};
  const auto on = [&say](Rule rule) { return say[rule] == 1; };
  const auto match = [&outcome](Rule settings_rule, std::string words) {
    outcome = Outcome{settings_rule, std::move(words), false};
  };
  const int h1 = d.h1, h2 = d.h2, m1 = d.m1, m2 = d.m2;

  if (on(SayAscending)) {
    // A leading zero is not part of the run and is not spoken: 01:23.
    if (h1 == 0 && m1 == h2 + 1 && m2 == h2 + 2) {
      match(SayAscending, Spaced({h2, m1, m2}));
      return true;
    }
    if (h1 != 0 && h2 == h1 + 1 && m1 == h1 + 2 && m2 == h1 + 3) {
      match(SayAscending, Spaced({h1, h2, m1, m2}));
      return true;
    }
  }
  if (on(SayDescending) && h1 == 0 && m1 == h2 - 1 && m2 == h2 - 2)
    match(SayDescending, Spaced({h2, m1, m2}));
  if (on(SayDescendingEnd1) && h1 == 0 && h2 == 3 && m1 == 2 && m2 == 1)
    match(SayDescendingEnd1, "3 2 1");
  // 12:12 counts as an hour-minute match too, so either switch runs the
  // self-similar test; its outcome follows rule 3's settings all the same.
  if (on(SaySelfSimilar) || on(SayHourMinuteMatch)) {
    if (h1 == 0 && m1 == h2 && m2 == h2) match(SaySelfSimilar, Spaced({h2, m1, m2}));
    if (h1 != 0 && m1 == h1 && m2 == h2)
      match(SaySelfSimilar, Paired(h1, h2) + ' ' + Paired(m1, m2));
  }
  if (on(SayHourMinuteMatch) && h1 == 0 && m1 == 0 && m2 == h2)
    match(SayHourMinuteMatch, Spaced({h2, m1, m2}));
  if (on(SayHourMinuteMirror) && h1 != 0 && m2 == h1 && m1 == h2) {
    match(SayHourMinuteMirror, Spaced({h1, h2, m1, m2}));
    return true;
  }
  if (on(SayHourProg) && m1 == 0 && m2 == 0) {
    match(SayHourProg, Paired(h1, h2) + " o clock");
    return true;
  }
  return false;
}

}  // namespace

Outcome EvaluateDigitRules(const ClockDigits& clock, const SaySwitches& say, bool hour12,
                           bool hour24) {
  Outcome outcome;
  if (hour12 && RunPass(TwelveHourDigits(clock), say, outcome)) return outcome;
  if (hour24) RunPass(clock, say, outcome);
  return outcome;
}
