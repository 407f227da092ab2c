// The 36 settings as the file names them, in the order the file lists them.
// Reading, writing and the defaults all walk this one list, so a key can never
// be written under one name and read under another.
#pragma once

#include "settings/settings.h"

// Calls visit(name, field) for every setting; `name` is the key as written
// (mixed case, without ": ") and `field` is the std::int32_t or std::string
// it names, const when `settings` is.
template <typename Record, typename Visit>
void ForEachSetting(Record& settings, Visit&& visit) {
  visit("SayAscending", settings.Say[SayAscending]);
  visit("SayDescending", settings.Say[SayDescending]);
  visit("SayDescendingEnd1", settings.Say[SayDescendingEnd1]);
  visit("SaySelfSimilar", settings.Say[SaySelfSimilar]);
  visit("SayHourMinuteMatch", settings.Say[SayHourMinuteMatch]);
  visit("SayHourMinuteMirror", settings.Say[SayHourMinuteMirror]);
  visit("SayHourProg", settings.Say[SayHourProg]);
  visit("Say420", settings.Say[Say420]);
  visit("SayAlarm1", settings.Say[SayAlarm1]);
  visit("SayAlarm2", settings.Say[SayAlarm2]);
  visit("12hour", settings.Hour12);
  visit("24hour", settings.Hour24);
  visit("ConfirmAlarm", settings.ConfirmAlarm);
  visit("AutomaticStartup", settings.AutomaticStartup);
  visit("SpeakSayAscending", settings.Speak[SayAscending]);
  visit("SpeakSayDescending", settings.Speak[SayDescending]);
  visit("SpeakSayDescendingEnd1", settings.Speak[SayDescendingEnd1]);
  visit("SpeakSaySelfSimilar", settings.Speak[SaySelfSimilar]);
  visit("SpeakSayHourMinuteMatch", settings.Speak[SayHourMinuteMatch]);
  visit("SpeakSayHourMinuteMirror", settings.Speak[SayHourMinuteMirror]);
  visit("SpeakSayHourProg", settings.Speak[SayHourProg]);
  visit("SpeakSay420", settings.Speak[Say420]);
  visit("SpeakAlarm1", settings.Speak[SayAlarm1]);
  visit("SpeakAlarm2", settings.Speak[SayAlarm2]);
  visit("SFXSayAscending", settings.SFX[SayAscending]);
  visit("SFXSayDescending", settings.SFX[SayDescending]);
  visit("SFXSayDescendingEnd1", settings.SFX[SayDescendingEnd1]);
  visit("SFXSaySelfSimilar", settings.SFX[SaySelfSimilar]);
  visit("SFXSayHourMinuteMatch", settings.SFX[SayHourMinuteMatch]);
  visit("SFXSayHourMinuteMirror", settings.SFX[SayHourMinuteMirror]);
  visit("SFXSayHourProg", settings.SFX[SayHourProg]);
  visit("SFXSay420", settings.SFX[Say420]);
  visit("SFXAlarm1", settings.SFX[SayAlarm1]);
  visit("SFXAlarm2", settings.SFX[SayAlarm2]);
  visit("Alarm1time", settings.Alarm1time);
  visit("Alarm2time", settings.Alarm2time);
}
