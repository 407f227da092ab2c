// The main window's control ids, by which the core and every backend address
// its controls; the control table is built from them. 1000 is the timer, not a
// control; 1011 and 1020 belong to nothing.
#pragma once

#include "platform/rule_list.h"

enum ControlId : int {
  NoControl = 0,
  NextTimeCaption = 1009,
  ClockDisplay = 1010,
  AlarmPicker1 = 1012,
  AlarmPicker2 = 1059,
  Use12HourBox = 1007,
  Use24HourBox = 1008,
  ConfirmAlarmBox = 1017,
  AutomaticStartupBox = 1060,
};

// The controls of one rule row.
struct RuleRow {
  int rule_box;
  int speak_radio;
  int sfx_radio;
  int sound_box;
  int browse_button;
};

// Indexed by Rule.
inline constexpr RuleRow kRuleRows[kRuleCount] = {
    {1001, 1019, 1021, 1018, 1022}, {1002, 1024, 1025, 1023, 1026},
    {1003, 1028, 1029, 1027, 1030}, {1004, 1032, 1033, 1031, 1034},
    {1005, 1036, 1037, 1035, 1038}, {1006, 1040, 1041, 1039, 1042},
    {1013, 1044, 1045, 1043, 1046}, {1014, 1048, 1049, 1047, 1050},
    {1015, 1052, 1053, 1051, 1054}, {1016, 1056, 1057, 1055, 1058},
};
