#include "rules/outcome.h"

#include "rules/evaluate_rules.h"
#include "settings/settings.h"

std::string OutcomeText(const Outcome& outcome) {
  if (outcome.settings_rule < 0) return {};
  std::string text = outcome.alarm ? kAlarmMarker : "";
  if (Settings.Speak[outcome.settings_rule] == 1)
    text += outcome.words;
  else
    text += Settings.SFX[outcome.settings_rule];
  return text;
}
