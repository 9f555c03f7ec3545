// Value tables, nearest-entry search and the unit and pixel conversions.
#include "eq/scales.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace k7310 {
namespace {

// Decimal text of tenths / 10 with one decimal ("-23.8", "0.0"), made from integers only so the
// expected value does not come from floating-point arithmetic.
std::string TenthsText(int tenths) {
  const int a = std::abs(tenths);
  return (tenths < 0 ? "-" : "") + std::to_string(a / 10) + "." + std::to_string(a % 10);
}

template <std::size_t N>
bool StrictlyAscending(const std::array<double, N>& t) {
  for (std::size_t i = 1; i < N; ++i) {
    if (!(t[i - 1] < t[i])) return false;
  }
  return true;
}

TEST(ScaleTables, SizesEndsAndAnchors) {
  EXPECT_EQ(FreqTable.size(), 244u);
  EXPECT_EQ(FreqTable.front(), 19.7);
  EXPECT_EQ(FreqTable.back(), 21900.0);

  EXPECT_EQ(EqGainTable.size(), 181u);
  EXPECT_EQ(EqGainTable.front(), -24.0);
  EXPECT_EQ(EqGainTable[120], 0.0);
  EXPECT_EQ(EqGainTable.back(), 12.0);

  EXPECT_EQ(QTable.size(), 180u);
  EXPECT_EQ(QTable.front(), 0.2);
  EXPECT_EQ(QTable[4], 1.0);
  EXPECT_EQ(QTable.back(), 36.0);

  EXPECT_EQ(ChannelGainTable.size(), 251u);
  EXPECT_EQ(ChannelGainTable.front(), -20.0);
  EXPECT_EQ(ChannelGainTable[200], 0.0);
  EXPECT_EQ(ChannelGainTable.back(), 5.0);

  EXPECT_EQ(TemperatureTable.size(), 31u);
  EXPECT_EQ(TemperatureTable.front(), 1123.0);
  EXPECT_EQ(TemperatureTable.back(), 5118.0);
}

TEST(ScaleTables, AllAscending) {
  // NearestIndex relies on it; a typed digit too many or too few in FreqTable breaks it.
  EXPECT_TRUE(StrictlyAscending(FreqTable));
  EXPECT_TRUE(StrictlyAscending(EqGainTable));
  EXPECT_TRUE(StrictlyAscending(QTable));
  EXPECT_TRUE(StrictlyAscending(ChannelGainTable));
  EXPECT_TRUE(StrictlyAscending(TemperatureTable));
}

TEST(ScaleTables, FreqTableIrregularEntries) {
  struct Case { int index; double hz; };
  const Case cases[] = {
      {57, 102.0}, {75, 172.0}, {76, 179.0}, {77, 182.0}, {135, 972.0}, {136, 1000.0},
      {137, 1030.0}, {215, 9792.0}, {216, 10000.0}, {217, 10300.0},
  };
  for (const Case& c : cases) EXPECT_EQ(FreqTable[c.index], c.hz) << "index " << c.index;
}

TEST(ScaleTables, FreqTableStepsStayNearTwentyFourthOctave) {
  // Hand-rounded steps lie between 172->179 (1.041) and 179->182 (1.017); a mistyped entry
  // shows up as a step outside that band.
  for (std::size_t i = 1; i < FreqTable.size(); ++i) {
    const double ratio = FreqTable[i] / FreqTable[i - 1];
    EXPECT_GT(ratio, 1.015) << "index " << i;
    EXPECT_LT(ratio, 1.045) << "index " << i;
  }
}

TEST(ScaleTables, ArithmeticEntriesAreNearestDoubleOfTheirDecimal) {
  // -24.0 + 0.2 * i is not always the nearest double; the stored entry must be.
  for (int i = 0; i < static_cast<int>(kEqGainCount); ++i) {
    const std::string text = TenthsText(-240 + 2 * i);
    EXPECT_EQ(EqGainTable[i], std::stod(text)) << "EqGainTable[" << i << "] " << text;
  }
  for (int i = 0; i < static_cast<int>(kQCount); ++i) {
    const std::string text = TenthsText(2 + 2 * i);
    EXPECT_EQ(QTable[i], std::stod(text)) << "QTable[" << i << "] " << text;
  }
  for (int i = 0; i < static_cast<int>(kChannelGainCount); ++i) {
    const std::string text = TenthsText(-200 + i);
    EXPECT_EQ(ChannelGainTable[i], std::stod(text)) << "ChannelGainTable[" << i << "] " << text;
  }
}

TEST(NearestIndex, TieRuleAndBounds) {
  struct Case { double v; int index; };
  const Case cases[] = {
      {1015.0, 136},  // exactly halfway between 1000 and 1030: the lower one
      {1015.5, 137},
      {1014.5, 136},
      {1000.0, 136},  // equal to an entry
      {5.0, 0},       // below the table
      {19.7, 0},
      {21900.0, 243},
      {1e9, 243},     // above the table
      {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(NearestIndex(FreqTable, c.v), c.index) << c.v;
}

TEST(NearestIndex, SmallTables) {
  const double one[] = {3.0};
  EXPECT_EQ(NearestIndex(one, 1, -5.0), 0);
  EXPECT_EQ(NearestIndex(one, 1, 50.0), 0);
  EXPECT_EQ(NearestIndex(one, 0, 1.0), -1);  // no entry to name
}

TEST(NearestIndex, TemperatureReadings) {
  EXPECT_EQ(NearestIndex(TemperatureTable, 0.0), 0);
  EXPECT_EQ(NearestIndex(TemperatureTable, 1153.5), 0);  // halfway 1123..1184
  EXPECT_EQ(NearestIndex(TemperatureTable, 1154.0), 1);
  EXPECT_EQ(NearestIndex(TemperatureTable, 5118.0), 30);
}

TEST(GraphGeometry, Insets) {
  EXPECT_EQ(GraphLeftInset, 60);
  EXPECT_EQ(GraphRightInset, 33);
  EXPECT_EQ(GraphSpan, 581);
}

TEST(GraphConversions, FreqToGraphX) {
  struct Case { double hz; int x; };
  const Case cases[] = {{20.0, 101}, {100.0, 236}, {1000.0, 430}, {10000.0, 623}, {19.7, 99}};
  for (const Case& c : cases) EXPECT_EQ(FreqToGraphX(c.hz), c.x) << c.hz;
}

TEST(GraphConversions, FreqToGraphXSaturatesOnNonPositive) {
  EXPECT_EQ(FreqToGraphX(0.0), std::numeric_limits<int>::min());
  EXPECT_EQ(FreqToGraphX(-5.0), 0);  // log of a negative is NaN
}

TEST(GraphConversions, GraphXToFreqIndex) {
  struct Case { int x; int index; };
  const Case cases[] = {{97, 0}, {430, 136}, {689, 243}};
  for (const Case& c : cases) EXPECT_EQ(GraphXToFreqIndex(c.x), c.index) << c.x;
  EXPECT_DOUBLE_EQ(GraphXToFreq(101), 20.0);
}

TEST(GraphConversions, FrequencyRoundTripLosesAtMostTheTruncation) {
  for (int x = 97; x <= 689; ++x) {
    const int back = FreqToGraphX(GraphXToFreq(x));
    EXPECT_TRUE(back == x || back == x - 1) << "column " << x << " came back as " << back;
  }
}

TEST(GraphConversions, DbToGraphY) {
  struct Case { double db; int y; };
  const Case cases[] = {{12.0, 30}, {0.0, 86}, {-24.0, 198}, {15.0, 16}};
  for (const Case& c : cases) EXPECT_EQ(DbToGraphY(c.db), c.y) << c.db;
}

TEST(GraphConversions, GraphYToGainIndex) {
  struct Case { int y; int index; };
  const Case cases[] = {{32, 180}, {86, 121}, {198, 0}};
  for (const Case& c : cases) EXPECT_EQ(GraphYToGainIndex(c.y), c.index) << c.y;
  // The two level conversions are not inverse: 0.0 dB lands on row 86, which reads +0.2 dB.
  EXPECT_EQ(GraphYToGainIndex(DbToGraphY(0.0)), 121);
}

TEST(FaderPixelToDb, CutsTowardZero) {
  struct Case { int y; double db; };
  const Case cases[] = {
      {26, 5.0},
      {25, 5.1},    // 5.1397
      {27, 4.8},    // 4.8603
      {62, 0.0},    // -0.0279: toward zero, not -0.1
      {63, -0.1},   // -0.1676: toward zero, not -0.2
      {205, -20.0}, // exactly -20
  };
  for (const Case& c : cases) EXPECT_EQ(FaderPixelToDb(c.y), c.db) << "row " << c.y;
}

TEST(DelayConversions, ThousandSteps) {
  EXPECT_DOUBLE_EQ(DelayStepsToMs(1000), 21.0);
  EXPECT_NEAR(DelayStepsToMetres(1000), 7.2329, 5e-5);
  EXPECT_NEAR(DelayStepsToFeet(1000), 23.731, 5e-4);
  EXPECT_EQ(DelayStepsToMs(0), 0.0);
}

TEST(HexText, WordToHex) {
  struct Case { unsigned v; const char* text; };
  const Case cases[] = {
      {300, "012C"}, {0, "0000"}, {0xA, "000A"}, {0xFFFF, "FFFF"}, {0x12345, "12345"},
      {0xABCDEFu, "ABCDEF"},
  };
  for (const Case& c : cases) EXPECT_EQ(WordToHex(c.v), c.text) << c.v;
}

TEST(HexText, HexToIntReadsEitherCase) {
  struct Case { const char* text; int v; };
  const Case cases[] = {
      {"012C", 300}, {"012c", 300}, {"A", 10}, {"a5", 0xA5}, {"0000000000FF", 255},
      {"7FFFFFFF", std::numeric_limits<int>::max()},
  };
  for (const Case& c : cases) EXPECT_EQ(HexToInt(c.text), c.v) << c.text;
}

TEST(HexText, HexToIntRejectsBadText) {
  const char* const invalid[] = {"", "G", "12 ", " 12", "-1", "+1", "0x1F", "$1F", "1.0", "Z9"};
  for (const char* text : invalid) {
    EXPECT_THROW(HexToInt(text), std::invalid_argument) << '"' << text << '"';
  }
  const char* const too_large[] = {"80000000", "FFFFFFFF", "FFFFFFFFFFFFFFFFFFFF"};
  for (const char* text : too_large) {
    EXPECT_THROW(HexToInt(text), std::out_of_range) << text;
  }
  // A NUL inside the view is a bad character, not the end of the text.
  EXPECT_THROW(HexToInt(std::string_view("12\0" "3", 4)), std::invalid_argument);
}

}  // namespace
}  // namespace k7310
