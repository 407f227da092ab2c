// PLACEHOLDER: replaced by the rules module.
#include "rules/evaluate_rules.h"
std::string EvaluateRules(const std::string&, const SaySwitches&, std::int32_t, std::int32_t) { return {}; }
HourMinute PickerTextToHourMinute(const std::string&) { return {0, 0}; }
