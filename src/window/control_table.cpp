#include "window/control_table.h"

#include "platform/control_ids.h"

namespace {

using K = ControlKind;

// A rule row's caption and the line it sits on; the rest of the row stands in
// fixed columns to its right.
struct RowLine {
  const char* caption;
  int y;
};

// Indexed by Rule. Rows are 12 dialog units apart with a few wider gaps.
constexpr RowLine kRowLines[kRuleCount] = {
    {"Say ascending sequences", 10},
    {"Say descending sequences", 22},
    {"Say ascending sequences ending in \"1\"", 35},
    {"Say self-similar sequences", 47},
    {"Say hour-minute matches", 59},
    {"Say hour-minute mirrors", 72},
    {"Say hour progressions", 84},
    {"Say 4-20", 96},
    {"Say custom alarm:", 111},
    {"Say custom alarm:", 125},
};

constexpr std::array<ControlSpec, kControlCount> ControlsInTabOrder() {
  std::array<ControlSpec, kControlCount> controls{};
  int next = 0;
  for (int rule = 0; rule < kRuleCount; ++rule) {
    const RuleRow& ids = kRuleRows[rule];
    const RowLine& line = kRowLines[rule];
    const bool alarm = rule == SayAlarm1 || rule == SayAlarm2;
    // An alarm's caption is shorter: its time picker stands beside it.
    controls[next++] = {ids.rule_box, K::RuleCheckBox, line.caption, 10, line.y, alarm ? 75 : 150, 10};
    if (alarm) {
      const int picker = rule == SayAlarm1 ? AlarmPicker1 : AlarmPicker2;
      controls[next++] = {picker, K::AlarmPicker, "SysDateTimePick32_1", 90, line.y - 2, 55, 13};
    }
    controls[next++] = {ids.speak_radio, K::SpeakRadio, "Speak", 160, line.y, 35, 10};
    controls[next++] = {ids.sfx_radio, K::SfxRadio, "SFX:", 200, line.y, 35, 10};
    controls[next++] = {ids.sound_box, K::SoundBox, "", 235, line.y, 60, 10};
    controls[next++] = {ids.browse_button, K::BrowseButton, "Browse", 300, line.y, 40, 10};
  }
  const ControlSpec below_the_rows[] = {
      {Use12HourBox, K::PlainCheckBox, "Use 12-hour clock", 10, 141, 150, 10},
      {Use24HourBox, K::PlainCheckBox, "Use 24-hour clock", 10, 153, 150, 10},
      {ConfirmAlarmBox, K::PlainCheckBox, "Alarms require confirmation to stop", 10, 170, 150, 10},
      {AutomaticStartupBox, K::DisabledCheckBox, "Automatically load on start-up", 10, 182, 150, 10},
      {NextTimeCaption, K::CaptionLabel, "Next matching time:", 160, 141, 150, 10},
      {ClockDisplay, K::ClockLabel, "00:00", 160, 151, 180, 42},
  };
  for (const ControlSpec& spec : below_the_rows) controls[next++] = spec;
  return controls;
}

}  // namespace

// Constant: every control is in place before any constructor runs, and a
// table that outgrows kControlCount does not compile.
constexpr std::array<ControlSpec, kControlCount> kControls = ControlsInTabOrder();

const char* ControlText(int id) {
  for (const ControlSpec& spec : kControls)
    if (spec.id == id) return spec.text;
  return "";
}

const WindowProperties kWindow = {
    "Quorvel",
    169, 78, 349, 201,
    "MS Sans Serif", 8,
    "Courier New", 48, 700,
    "hh':'mm' 'tt",
    "0L",
    {255, 0, 0},
    {0, 128, 0},
    {255, 255, 255},
    {255, 170, 170},
};
