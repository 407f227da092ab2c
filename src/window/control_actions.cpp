#include "window/control_actions.h"

#include "platform/control_ids.h"
#include "platform/platform.h"
#include "rules/local_time.h"
#include "settings/settings_file.h"
#include "text/number_text.h"
#include "window/choose_sound.h"
#include "window/control_table.h"
#include "window/focus_description.h"

namespace {

enum class RowPart { RuleBox, SpeakRadio, SfxRadio, BrowseButton };

struct RowControl {
  Rule rule;
  RowPart part;
};

bool FindRowControl(int control_id, RowControl& found) {
  for (int r = 0; r < kRuleCount; ++r) {
    const RuleRow& row = kRuleRows[r];
    const Rule rule = static_cast<Rule>(r);
    if (control_id == row.rule_box) found = {rule, RowPart::RuleBox};
    else if (control_id == row.speak_radio) found = {rule, RowPart::SpeakRadio};
    else if (control_id == row.sfx_radio) found = {rule, RowPart::SfxRadio};
    else if (control_id == row.browse_button) found = {rule, RowPart::BrowseButton};
    else continue;
    return true;
  }
  return false;
}

std::int32_t IsChecked(int control_id) { return platform::GetCheck(control_id) != 0 ? 1 : 0; }

void RunRowAction(const RowControl& control) {
  switch (control.part) {
    case RowPart::RuleBox:
      Settings.Say[control.rule] = IsChecked(kRuleRows[control.rule].rule_box);
      break;
    case RowPart::SpeakRadio:
      Settings.Speak[control.rule] = 1;
      break;
    case RowPart::SfxRadio:
      Settings.Speak[control.rule] = 0;
      break;
    case RowPart::BrowseButton:
      ChooseSound(control.rule);  // saves only when a sound was chosen
      return;
  }
  SaveSettings();
}

// The picker's time as the H:MM text the settings keep.
void StoreAlarmTime(int picker_id) {
  const platform::ClockTime time = platform::PickerTime(picker_id);
  std::string& alarm = picker_id == AlarmPicker1 ? Settings.Alarm1time : Settings.Alarm2time;
  alarm = NumberToText(time.hour) + ":" + TwoDigits(time.minute);
  SaveSettings();
}

// The window keeps at least one of the two clock forms switched on.
void ToggleClockForm(int clicked_box) {
  const bool twelve = clicked_box == Use12HourBox;
  if (twelve) LastMinute.reset();  // shows the new label form within a second
  const std::int32_t checked = IsChecked(clicked_box);
  if (checked == 0) {
    const int other_box = twelve ? Use24HourBox : Use12HourBox;
    (twelve ? Settings.Hour24 : Settings.Hour12) = 1;
    // Ticked by the window, not the user: a screen reader hears only the
    // box that has the focus.
    if (IsChecked(other_box) == 0) TellFocusedControl(std::string(ControlText(other_box)) + " checked");
    platform::SetCheck(other_box, 1);
  }
  (twelve ? Settings.Hour12 : Settings.Hour24) = checked;
  SaveSettings();
}

}  // namespace

bool IsAlarmPicker(int control_id) {
  return control_id == AlarmPicker1 || control_id == AlarmPicker2;
}

void RunControlAction(int control_id) {
  RowControl row_control{};
  if (FindRowControl(control_id, row_control)) {
    RunRowAction(row_control);
  } else if (IsAlarmPicker(control_id)) {
    StoreAlarmTime(control_id);
  } else if (control_id == Use12HourBox || control_id == Use24HourBox) {
    ToggleClockForm(control_id);
  } else if (control_id == ConfirmAlarmBox) {
    Settings.ConfirmAlarm = IsChecked(ConfirmAlarmBox);
    SaveSettings();
  }
}
