// Rules 0 to 6: the ones decided by the digits of the time alone.
#pragma once

#include "rules/clock_digits.h"
#include "rules/outcome.h"
#include "platform/rule_list.h"

// Tries the switched-on digit rules on the 12-hour reading of `clock` (when
// `hour12`), then on the 24-hour reading (when `hour24`). A later pass starts
// from nothing, unless a rule that ends the evaluation matched before it.
Outcome EvaluateDigitRules(const ClockDigits& clock, const SaySwitches& say, bool hour12,
                           bool hour24);
