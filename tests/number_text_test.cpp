#include "text/number_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct NumberCase {
  const char* text;
  double value;
};

TEST(NumberFromText, ReadsTheFormsTheFileMayHold) {
  const NumberCase cases[] = {
      {"", 0},         {"abc", 0},        {"12", 12},       {"  \t\n7x", 7},
      {"-1", -1},      {"+3", 3},         {"1.5", 1.5},     {".5", 0.5},
      {"2.", 2},       {"1e3", 1000},     {"1E-1", 0.1},    {"2d2", 200},
      {"2D+1", 20},    {"3e", 3},         {"3e+", 3},       {"&H1F", 31},
      {"&hff", 255},   {"&B101", 5},      {"&O17", 15},     {"&q17", 15},
      {"&17", 15},     {"&18", 1},        {"&", 0},         {"&Z1", 0},
      {"12hour", 12},  {"24hour", 24},    {"7:00", 7},      {"- 1", 0},
      {"\r5", 0},      {"1,5", 1},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(NumberFromText(c.text), c.value) << c.text;
}

TEST(IntegerFromText, RoundsHalvesToEvenAndClampsToThirtyTwoBits) {
  struct IntCase {
    const char* text;
    std::int32_t value;
  };
  const IntCase cases[] = {
      {"0.5", 0},
      {"1.5", 2},
      {"2.5", 2},
      {"-1.5", -2},
      {"-2.5", -2},
      {"2.6", 3},
      {"1e20", std::numeric_limits<std::int32_t>::max()},
      {"-1e20", std::numeric_limits<std::int32_t>::min()},
      {"&HFFFFFFFFFF", std::numeric_limits<std::int32_t>::max()},
      {"1e999", std::numeric_limits<std::int32_t>::max()},
      {"2147483647", 2147483647},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
  };
  for (const auto& c : cases) EXPECT_EQ(IntegerFromText(c.text), c.value) << c.text;
}

TEST(NumberToText, WritesPlainAndTwoDigitForms) {
  EXPECT_EQ(NumberToText(0), "0");
  EXPECT_EQ(NumberToText(-1), "-1");
  EXPECT_EQ(NumberToText(2147483647), "2147483647");
  EXPECT_EQ(TwoDigits(0), "00");
  EXPECT_EQ(TwoDigits(7), "07");
  EXPECT_EQ(TwoDigits(59), "59");
  EXPECT_EQ(TwoDigits(123), "123");
  EXPECT_EQ(TwoDigits(-5), "-05");
  EXPECT_EQ(TwoDigits(std::numeric_limits<long long>::min()), "-9223372036854775808");
}

}  // namespace
