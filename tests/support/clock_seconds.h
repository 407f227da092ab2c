// A test clock's reading: "hh:mm:ss" on day `day` of the clock's count.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

namespace test_clock {

inline std::int64_t SecondsAt(const std::string& hh_mm_ss, int day = 0) {
  const auto field = [&](std::size_t at) {
    return at < hh_mm_ss.size() ? std::atoi(hh_mm_ss.substr(at, 2).c_str()) : 0;
  };
  return std::int64_t{day} * 86400 + field(0) * 3600 + field(3) * 60 + field(6);
}

}  // namespace test_clock
