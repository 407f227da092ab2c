#include "text/text_case.h"

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

bool ContainsWav(std::string_view text) {
  return LowerAscii(text).find(".wav") != std::string::npos;
}
