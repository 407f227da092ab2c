// Deciding whether a clock time matches a switched-on rule, and what to say.
#pragma once

#include <cstdint>
#include <string>

#include "platform/rule_list.h"

// Marks an announcement as an alarm.
inline constexpr const char kAlarmMarker[] = "ALARM! ";

// The announcement text for `time_text` ("H:MM" or "HH:MM", optionally
// followed by ":SS"; empty means now): the words to speak, a sound file path,
// either behind the alarm marker, or the empty text. Reads the Speak switches
// and sound files from Settings, the alarm pickers and the clock.
std::string EvaluateRules(const std::string& time_text, const SaySwitches& say,
                          std::int32_t hour12, std::int32_t hour24);
