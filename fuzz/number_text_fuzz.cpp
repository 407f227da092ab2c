// Numbers read from hand-edited text, and numbers written back as text.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "text/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double value = NumberFromText(text);
  Require(!std::isnan(value), "a text never reads as NaN");

  const std::int32_t rounded = IntegerFromText(text);
  Require(rounded == RoundToInt32(value), "IntegerFromText rounds what NumberFromText reads");
  // What a save writes for a flag must read back as that flag.
  Require(IntegerFromText(NumberToText(rounded)) == rounded, "a written flag reads back");
  Require(IntegerFromText(TwoDigits(rounded)) == rounded, "a two-digit text reads back");

  // The first bytes taken as any 64-bit value, extremes included.
  long long wide = 0;
  std::memcpy(&wide, data, size < sizeof wide ? size : sizeof wide);
  Require(NumberToText(wide) == std::to_string(wide), "NumberToText writes plain decimal");
  const std::string two = TwoDigits(wide);
  const std::string plain = std::to_string(wide);
  if (wide >= 0 && wide <= 9) Require(two == "0" + plain, "a single digit gets its leading zero");
  if (wide >= 10) Require(two == plain, "two digits or more stay as they are");
  if (wide < 0) Require(two.size() >= 3 && two[0] == '-', "a negative keeps its sign and two digits");
  return 0;
}
