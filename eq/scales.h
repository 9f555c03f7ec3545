// Value tables of the processor and the conversions between table indices,
// physical units and pixels of the response graph. Pure functions only.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace k7310 {

inline constexpr std::size_t kFreqCount = 244;
inline constexpr std::size_t kEqGainCount = 181;
inline constexpr std::size_t kQCount = 180;
inline constexpr std::size_t kChannelGainCount = 251;
inline constexpr std::size_t kTemperatureCount = 31;

extern const std::array<double, kFreqCount> FreqTable;
extern const std::array<double, kEqGainCount> EqGainTable;
extern const std::array<double, kQCount> QTable;
extern const std::array<double, kChannelGainCount> ChannelGainTable;
extern const std::array<double, kTemperatureCount> TemperatureTable;

inline constexpr double kDelayStepMs = 0.021;
inline constexpr double kSoundMsPerMetre = 2.9034;
inline constexpr double kFeetPerMetre = 3.281;

// Graph geometry of the EQ response image.
inline constexpr int GraphWidth = 720;
inline constexpr int GraphHeight = 249;
inline constexpr int GraphLeftInset = (GraphWidth - 46) * 9 / 100;   // 60
inline constexpr int GraphRightInset = (GraphWidth - 46) * 5 / 100;  // 33
inline constexpr int GraphSpan = GraphWidth - 46 - GraphLeftInset - GraphRightInset;  // 581

// Index of the entry nearest to v in an ascending table; the lower index on a tie. NaN gives 0,
// an empty table -1.
int NearestIndex(const double* table, std::size_t count, double v);
template <std::size_t N>
int NearestIndex(const std::array<double, N>& table, double v) {
  return NearestIndex(table.data(), N, v);
}

int FreqToGraphX(double hz);
double GraphXToFreq(int x);
int GraphXToFreqIndex(int x);
int DbToGraphY(double db);
int GraphYToGainIndex(int y);
double FaderPixelToDb(int y);

double DelayStepsToMs(int steps);
double DelayStepsToMetres(int steps);
double DelayStepsToFeet(int steps);

// The value of one hexadecimal digit (either case), -1 for any other character. The one hex digit reader of the
// program: frames, replies, blocks and files all read their text through it.
constexpr int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Upper-case hexadecimal, at least four digits.
std::string WordToHex(unsigned value);
// Reads hexadecimal text (either case). Throws std::invalid_argument on text that is not a
// hexadecimal number (empty, or holding any other character) and std::out_of_range when it
// does not fit an int.
int HexToInt(std::string_view text);

}  // namespace k7310
