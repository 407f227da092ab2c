// Letter-case helpers for the 8-bit texts the program handles.
#pragma once

#include <string>
#include <string_view>

// ASCII letters lowered; every other byte kept as it is.
std::string LowerAscii(std::string_view text);

// True when the text contains ".wav" in any letter case: such a text names a
// sound file.
bool ContainsWav(std::string_view text);
