// The announcement of one evaluation while it is still being decided.
#pragma once

#include <string>

// A match is kept as the rule whose Speak switch and sound file decide the
// text, plus the words it would speak. The text itself is built once, at the
// end, so that trying candidate minutes copies no sound paths.
struct Outcome {
  int settings_rule = -1;  // -1: nothing to announce
  std::string words;
  bool alarm = false;
};

// The words or the rule's sound file, behind the alarm marker for an alarm.
std::string OutcomeText(const Outcome& outcome);
