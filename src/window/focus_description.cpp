#include "window/focus_description.h"

#include <optional>

#include "platform/control_ids.h"
#include "platform/platform.h"
#include "rules/hover_display.h"
#include "rules/local_time.h"
#include "window/control_table.h"

namespace {

struct FocusDescription {
  int control = 0;
  std::string text;  // what the control was last given
  bool timed = false;  // a rule box that shows a next matching time
  // The clock tick's last minute when that time was found: the tick has
  // read the clock already.
  std::optional<LocalMinute> minute;
};

FocusDescription focus;

void Give(const std::string& text) {
  if (text == focus.text) return;  // a screen reader would hear it again
  focus.text = text;
  platform::SetControlDescription(focus.control, text);
}

// A rule box's time as the hover shows it, "--:--" said in a word; other
// controls keep what they carry.
void DescribeRule() {
  const std::optional<std::string> time = NextMatchingTimeText(focus.control);
  focus.timed = time.has_value();
  if (!time) return;
  focus.minute = LastMinute;
  Give(std::string(ControlText(NextTimeCaption)) + " " + (*time == kNoMatchText ? "none" : *time));
}

}  // namespace

void DescribeFocus(int control_id) {
  if (control_id == focus.control) return;
  if (!focus.text.empty()) platform::SetControlDescription(focus.control, "");
  focus = FocusDescription{control_id, "", false, std::nullopt};
  if (control_id != 0) DescribeRule();
}

void KeepFocusDescribed() {
  if (focus.timed && LastMinute != focus.minute) DescribeRule();
}

void TellFocusedControl(const std::string& note) {
  if (focus.control != 0) Give(note);
}

void ResetFocusDescription() { focus = FocusDescription{}; }
