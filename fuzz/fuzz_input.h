// Splits a fuzz input into the LF-separated fields a target reads, so that
// seed files stay readable: one field per line, missing fields empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline std::vector<std::string> InputFields(const std::uint8_t* data, std::size_t size,
                                            std::size_t count) {
  std::vector<std::string> fields(count);
  std::size_t field = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == '\n' && field + 1 < count) {
      ++field;
      continue;
    }
    fields[field] += static_cast<char>(data[i]);
  }
  return fields;
}

// One switch per byte: '1' and '0' as such, '-' as -1, any other byte as its
// value, so that the odd values a hand-edited file may hold come up too.
inline std::int32_t SwitchFromByte(const std::string& text, std::size_t index) {
  if (index >= text.size()) return 0;
  const char c = text[index];
  if (c == '1') return 1;
  if (c == '0') return 0;
  if (c == '-') return -1;
  return static_cast<unsigned char>(c);
}
