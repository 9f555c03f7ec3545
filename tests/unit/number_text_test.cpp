// The general number format of the edits and the reading of typed numbers.
#include "eq/number_text.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

#include "eq/scales.h"

namespace k7310 {
namespace {

TEST(GeneralNumberText, ShortestFormUpTo15Digits) {
  const struct {
    double v;
    const char* text;
  } cases[] = {
      {19.7, "19.7"}, {1000, "1000"}, {1, "1"}, {0.2, "0.2"}, {36, "36"}, {-24, "-24"}, {12, "12"}, {0, "0"},
      {-0.0, "0"}, {-0.2, "-0.2"}, {21900, "21900"}, {0.1 + 0.2, "0.3"},  // 0.30000000000000004 at 17 digits
      {1.0 / 3.0, "0.333333333333333"}, {2.0 / 3.0, "0.666666666666667"}, {123456789012345.0, "123456789012345"},
      {1e15, "1E15"}, {-1.5e20, "-1.5E20"}, {0.00001, "0.00001"}, {0.000001, "1E-6"}, {1.25e-7, "1.25E-7"},
      {100.5, "100.5"}, {99999.99999999999, "100000"},  // rounding carries into a new digit
  };
  for (const auto& c : cases) EXPECT_EQ(GeneralNumberText(c.v), c.text) << c.v;
}

// Every entry of the tables the edits show is written without an exponent and reads back as the same entry.
template <std::size_t N>
void ExpectReadsBack(const std::array<double, N>& table) {
  for (std::size_t i = 0; i < N; ++i) {
    const std::string text = GeneralNumberText(table[i]);
    EXPECT_EQ(text.find('E'), std::string::npos) << text;
    const auto back = ParseNumberText(text);
    ASSERT_TRUE(back.has_value()) << text;
    EXPECT_EQ(NearestIndex(table, *back), static_cast<int>(i)) << text;
  }
}

TEST(GeneralNumberText, TableValuesReadBack) {
  ExpectReadsBack(FreqTable);
  ExpectReadsBack(QTable);
  ExpectReadsBack(EqGainTable);
}

TEST(ParseNumberText, AcceptsNumbersOnly) {
  const struct {
    const char* text;
    std::optional<double> v;
  } cases[] = {
      {"50", 50.0},       {"-0.1", -0.1},  {"+7", 7.0},     {" 12 ", 12.0},         {"5.", 5.0},
      {".5", 0.5},        {"1e3", 1000.0}, {"1E-2", 0.01},  {"2.5e+1", 25.0},       {"007", 7.0},
      {"", std::nullopt}, {" ", std::nullopt},  {"-", std::nullopt},  {".", std::nullopt},  {"1.2.3", std::nullopt},
      {"3-4", std::nullopt}, {"--1", std::nullopt}, {"1e", std::nullopt}, {"e5", std::nullopt},
      {"inf", std::nullopt}, {"nan", std::nullopt}, {"0x10", std::nullopt}, {"1,5", std::nullopt},
      {"1 2", std::nullopt}, {"1e999", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseNumberText(c.text), c.v) << '"' << c.text << '"';
}

}  // namespace
}  // namespace k7310
