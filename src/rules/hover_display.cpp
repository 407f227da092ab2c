// PLACEHOLDER: replaced by the rules module.
#include "rules/hover_display.h"
std::int32_t HoverControl = 0;
std::optional<NextMatch> FindNextMatch(Rule, bool) { return std::nullopt; }
void HoverDisplay(int) {}
