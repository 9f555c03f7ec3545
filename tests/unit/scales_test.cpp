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

// The processor's frequency list, twelve to a row; the comment is the index of the row's first entry.
const std::vector<double> kFreqList = {
    19.7, 20.3, 20.9, 21.5, 22.1, 22.7, 23.4, 24.1, 24.8, 25.5, 26.3, 27,                 // 0
    27.8, 28.7, 29.5, 30.4, 31.3, 32.2, 33.1, 34.1, 35.1, 36.1, 37.2, 38.3,               // 12
    39.4, 40.5, 41.7, 42.9, 44.2, 45.5, 46.8, 48.2, 49.6, 51.1, 52.6, 54.1,               // 24
    55.7, 57.3, 59, 60.7, 62.5, 64.3, 66.2, 68.2, 70.2, 72.2, 74.3, 76.5,                 // 36
    78.7, 81.1, 83.4, 85.9, 88.4, 91, 93.6, 96.4, 99.2, 102, 105, 108,                    // 48
    111, 115, 118, 121, 125, 129, 132, 136, 140, 144, 149, 153,                           // 60
    158, 162, 167, 172, 179, 182, 187, 193, 198, 204, 210, 216,                           // 72
    223, 229, 236, 243, 250, 257, 265, 273, 281, 289, 297, 306,                           // 84
    315, 324, 334, 344, 354, 364, 375, 386, 397, 409, 420, 433,                           // 96
    445, 459, 472, 486, 500, 515, 530, 545, 561, 578, 595, 612,                           // 108
    630, 648, 667, 687, 707, 728, 749, 771, 794, 817, 841, 866,                           // 120
    891, 917, 944, 972, 1000, 1030, 1060, 1090, 1123, 1155, 1190, 1224,                   // 132
    1260, 1297, 1335, 1374, 1414, 1456, 1498, 1542, 1587, 1634, 1682, 1731,               // 144
    1782, 1834, 1888, 1943, 2000, 2059, 2119, 2181, 2245, 2311, 2378, 2448,               // 156
    2520, 2594, 2670, 2748, 2828, 2911, 2997, 3084, 3175, 3268, 3364, 3462,               // 168
    3564, 3668, 3776, 3886, 4000, 4117, 4238, 4362, 4490, 4621, 4757, 4896,               // 180
    5040, 5187, 5339, 5496, 5657, 5823, 5993, 6169, 6350, 6536, 6727, 6924,               // 192
    7127, 7336, 7551, 7772, 8000, 8234, 8476, 8724, 8980, 9243, 9514, 9792,               // 204
    10000, 10300, 10600, 10900, 11300, 11600, 11900, 12300, 12600, 13000, 13400, 13800,   // 216
    14200, 14600, 15100, 15500, 16000, 16400, 16900, 17400, 17900, 18400, 19000, 19500,   // 228
    20100, 20700, 21300, 21900,                                                           // 240
};

// Raw sensor readings, 70 degrees C down to 10 degrees C in steps of 2.
const std::vector<double> kTemperatureList = {
    1123, 1184, 1260, 1336, 1412, 1503, 1594, 1685, 1792, 1883, 2004, 2110, 2232, 2353, 2490, 2627,
    2779, 2915, 3037, 3219, 3386, 3538, 3705, 3872, 4054, 4221, 4404, 4556, 4753, 4859, 5118,
};

// Entry by entry and in length; a literal is the nearest double to its decimal, so equality also checks that no
// entry was computed.
template <std::size_t N>
void ExpectTableIs(const std::array<double, N>& table, const std::vector<double>& list, const char* name) {
  ASSERT_EQ(table.size(), list.size()) << name;
  for (std::size_t i = 0; i < N; ++i) EXPECT_EQ(table[i], list[i]) << name << "[" << i << "]";
}

TEST(ScaleTables, ListedTablesInFull) {
  ExpectTableIs(FreqTable, kFreqList, "FreqTable");
  ExpectTableIs(TemperatureTable, kTemperatureList, "TemperatureTable");
}

TEST(ScaleTables, Anchors) {
  EXPECT_EQ(EqGainTable[120], 0.0);
  EXPECT_EQ(QTable[4], 1.0);
  EXPECT_EQ(ChannelGainTable[200], 0.0);
  EXPECT_EQ(NearestIndex(TemperatureTable, 5118.0), 30);
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

// The arithmetic tables are defined by first value, step and count; the expected list is made of the decimal
// texts (first + step * i, in tenths), so each entry must be the nearest double of its decimal:
// -24.0 + 0.2 * i computed in doubles is not always.
std::vector<double> DecimalList(int firstTenths, int stepTenths, int count) {
  std::vector<double> list;
  for (int i = 0; i < count; ++i) list.push_back(std::stod(TenthsText(firstTenths + stepTenths * i)));
  return list;
}

TEST(ScaleTables, ArithmeticTablesInFull) {
  const std::vector<double> eqGain = DecimalList(-240, 2, 181);  // -24.0 .. +12.0 dB
  const std::vector<double> q = DecimalList(2, 2, 180);          // 0.2 .. 36.0
  const std::vector<double> channelGain = DecimalList(-200, 1, 251);  // -20.0 .. +5.0 dB
  EXPECT_EQ(eqGain.back(), 12.0);
  EXPECT_EQ(q.back(), 36.0);
  EXPECT_EQ(channelGain.back(), 5.0);
  ExpectTableIs(EqGainTable, eqGain, "EqGainTable");
  ExpectTableIs(QTable, q, "QTable");
  ExpectTableIs(ChannelGainTable, channelGain, "ChannelGainTable");
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
