#include "rules/hover_display.h"

#include <string>

#include "platform/control_ids.h"
#include "platform/platform.h"
#include "rules/clock_digits.h"
#include "rules/find_next_match.h"
#include "rules/local_time.h"
#include "settings/settings.h"
#include "text/number_text.h"

std::int32_t HoverControl = 0;

namespace {

constexpr int kNoRule = -1;

// The rules whose check boxes show a next matching time: all but the alarms.
int HoverRuleOf(int control_id) {
  for (int rule = 0; rule <= Say420; ++rule)
    if (kRuleRows[rule].rule_box == control_id) return rule;
  return kNoRule;
}

std::string ShownTime(const NextMatch& match) {
  const int hour = match.found_in_12_hour_trial ? TwelveHour(match.hour) : match.hour;
  return NumberToText(hour) + ":" + TwoDigits(match.minute);
}

std::string NextTimeText(Rule rule) {
  if (rule == Say420) return Settings.Hour12 == 1 ? "4:20" : "16:20";
  // The 3:21 rule is looked up on the 12-hour dial only.
  const std::optional<NextMatch> match = FindNextMatch(rule, rule != SayDescendingEnd1);
  return match ? ShownTime(*match) : kNoMatchText;
}

// The 3:21 rule is shown on the 12-hour dial only.
bool HoverRefused(int rule) { return rule == SayDescendingEnd1 && Settings.Hour12 != 1; }

void EndHover() {
  platform::ShowControl(NextTimeCaption, false);
  platform::SetHoverHighlight(HoverControl, false);
  HoverControl = 0;
}

}  // namespace

void HoverDisplay(int control_id) {
  const int rule = HoverRuleOf(control_id);
  if (rule == kNoRule) {
    if (HoverControl != 0) EndHover();
    return;
  }
  // Resting on the same box keeps what the hover start found.
  if (control_id == HoverControl) return;
  if (HoverControl != 0) platform::SetHoverHighlight(HoverControl, false);

  if (HoverRefused(rule)) {
    // Refused without touching LastMinute: every cursor message over this box
    // lands here, and clearing it would announce the current minute anew
    // each second. A hover being ended has cleared it already.
    platform::ShowControl(NextTimeCaption, false);
    HoverControl = 0;
    return;
  }
  // The first tick after the hover writes the current time back.
  LastMinute.reset();
  HoverControl = control_id;
  platform::ShowControl(NextTimeCaption, true);
  platform::SetHoverHighlight(control_id, true);
  platform::SetControlText(ClockDisplay, NextTimeText(static_cast<Rule>(rule)));
}

std::optional<std::string> NextMatchingTimeText(int control_id) {
  const int rule = HoverRuleOf(control_id);
  if (rule == kNoRule || HoverRefused(rule)) return std::nullopt;
  return NextTimeText(static_cast<Rule>(rule));
}
