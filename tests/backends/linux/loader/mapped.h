// Whether a library is mapped into this process, for the loader's tests.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

namespace loader_test {

inline bool Mapped(const std::string& library) {
  std::ifstream maps("/proc/self/maps");
  const std::string text{std::istreambuf_iterator<char>(maps), std::istreambuf_iterator<char>()};
  return text.find(library) != std::string::npos;
}

}  // namespace loader_test
