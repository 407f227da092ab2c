// Blanks around texts the user or a file supplied.
#pragma once

#include <string_view>

// The text without blanks (byte 32 only) at either end; tabs and every other
// byte stay.
std::string_view TrimBlanks(std::string_view text);
