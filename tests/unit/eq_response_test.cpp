// The response arrays of the EQ graph: band and crossover levels by column, the markers, the group recompute.
#include "eq/response.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "eq/fast_log.h"
#include "eq/filters.h"
#include "eq/scales.h"

namespace k7310 {
namespace {

constexpr int kPeak = 0;
constexpr int kLowShelf = 1;
constexpr int kHighShelf = 2;

constexpr int k1000Hz = 136;  // FreqTable index; its marker column is 430 (999.6 Hz)
constexpr int kPlus12dB = 180;
constexpr int kZeroDb = 120;
constexpr int kQ1 = 4;

double At(const ResponseArray& a, int column) { return a[column - kResponseColumnOffset]; }

// One band of channel 0 (flat band 0) set up in a fresh model and run through UpdateBand.
struct Band {
  int type = kPeak;
  int freq = k1000Hz;
  int gain = kPlus12dB;
  int q = kQ1;
};

ResponseArray BandResponse(const Band& b, MarkerPoint* marker = nullptr) {
  ParameterModel m;
  m.EqType[0] = b.type;
  m.EqFreqIndex[0] = b.freq;
  m.EqPeakGainIndex[0] = b.gain;
  m.EqShelfGainIndex[0] = b.gain;
  m.EqQIndex[0] = b.q;
  EqCurves curves;
  EXPECT_TRUE(UpdateBand(curves, m, 0, b.type));
  if (marker) *marker = curves.BandMarker[0];
  return curves.EqResponse[0];
}

// The level of a column lies in [lo, hi].
struct BandCase {
  std::string what;
  Band band;
  int column;
  double lo;
  double hi;
};
BandCase Near(std::string what, Band band, int column, double value, double tolerance) {
  return {std::move(what), band, column, value - tolerance, value + tolerance};
}

TEST(EqResponse, BandLevelsAtColumns) {
  const Band peak{};
  const Band lowShelf{.type = kLowShelf};
  const Band highShelf{.type = kHighShelf};
  const std::vector<BandCase> cases = {
      Near("peak +12 dB Q 1 at its centre", peak, 430, 11.974, 0.0005),
      Near("peak sixty columns below", peak, 370, 7.83, 0.005),
      Near("peak sixty columns above", peak, 490, 7.83, 0.005),
      {"peak at the first column", peak, 42, 0.0, 0.05},
      {"peak at the last column", peak, 713, 0.0, 0.05},
      Near("peak Q 36 sixty columns below", Band{.q = 179}, 370, 0.02, 0.005),
      Near("peak Q 36 sixty columns above", Band{.q = 179}, 490, 0.02, 0.005),
      Near("peak Q 0.2 sixty columns below", Band{.q = 0}, 370, 11.92, 0.005),
      Near("low shelf, first column", lowShelf, 42, 11.97, 0.005),
      Near("low shelf, its corner", lowShelf, 430, 9.04, 0.005),
      Near("low shelf, last column", lowShelf, 713, 0.0, 0.005),
      Near("high shelf, first column", highShelf, 42, 0.0, 0.005),
      Near("high shelf, its corner", highShelf, 430, 9.27, 0.005),
      // 11.9754: a shelf of slope 1.3 overshoots its gain past the corner and is still settling here.
      Near("high shelf, last column", highShelf, 713, 11.97, 0.01),
      // Gains are read back from the marker row, cut toward zero: -3.0 dB draws as -2.9, +3.0 as +3.0 (the level
      // unit is 0.2 % below dB).
      Near("peak -3.0 dB draws -2.9", Band{.gain = 105}, 430, -2.9 * 0.99785, 0.001),
      Near("peak +3.0 dB draws +3.0", Band{.gain = 135}, 430, 3.0 * 0.99785, 0.001),
  };
  for (const BandCase& c : cases) {
    const double level = At(BandResponse(c.band), c.column);
    EXPECT_GE(level, c.lo) << c.what;
    EXPECT_LE(level, c.hi) << c.what;
  }
}

TEST(EqResponse, MarkerRowGivesTheDrawnGain) {
  MarkerPoint marker;
  BandResponse(Band{.gain = 105}, &marker);
  EXPECT_EQ(marker, (MarkerPoint{430, 100}));
  BandResponse(Band{.gain = 135}, &marker);
  EXPECT_EQ(marker, (MarkerPoint{430, 72}));

  const struct {
    int row;
    double gain;
  } rows[] = {{100, -2.9}, {72, 3.0}, {30, 12.0}, {86, 0.0}, {85, 0.2}, {198, -23.8}, {198 + 1, -24.0}};
  for (const auto& r : rows) EXPECT_DOUBLE_EQ(MarkerGain(r.row), r.gain) << "row " << r.row;
}

TEST(EqResponse, ZeroGainBandIsFlatWhateverItsType) {
  for (int type : {kPeak, kLowShelf, kHighShelf}) {
    for (int freq : {0, k1000Hz, 243}) {
      for (int q : {0, kQ1, 179}) {
        const ResponseArray r = BandResponse({.type = type, .freq = freq, .gain = kZeroDb, .q = q});
        for (int x = kFirstResponseColumn; x <= kLastResponseColumn; ++x)
          ASSERT_EQ(At(r, x), 0.0) << "type " << type << " freq " << freq << " q " << q << " column " << x;
      }
    }
  }
}

TEST(EqResponse, UpdateBandPlacesTheMarkerFromTheGainInEffect) {
  ParameterModel m;
  EqCurves curves;
  EXPECT_EQ(curves.BandMarker[0], (MarkerPoint{101, 86}));
  EXPECT_EQ(curves.BandMarker[23], (MarkerPoint{429, 86}));

  m.EqFreqIndex[7] = k1000Hz;
  m.EqPeakGainIndex[7] = kPlus12dB;  // row 30
  m.EqShelfGainIndex[7] = 0;         // -24 dB, row 198
  UpdateBand(curves, m, 7, kPeak);
  EXPECT_EQ(curves.BandMarker[7], (MarkerPoint{430, 30}));
  UpdateBand(curves, m, 7, kHighShelf);
  EXPECT_EQ(curves.BandMarker[7], (MarkerPoint{430, 198}));
  EXPECT_LT(At(curves.EqResponse[7], 713), -23.0);
}

TEST(EqResponse, UnknownBandTypeMovesTheMarkerAndKeepsTheArray) {
  ParameterModel m;
  m.EqFreqIndex[0] = k1000Hz;
  m.EqPeakGainIndex[0] = kPlus12dB;
  EqCurves curves;
  ASSERT_TRUE(UpdateBand(curves, m, 0, kPeak));
  const ResponseArray before = curves.EqResponse[0];

  m.EqFreqIndex[0] = 0;
  m.EqShelfGainIndex[0] = kPlus12dB;
  EXPECT_FALSE(UpdateBand(curves, m, 0, 3));
  EXPECT_EQ(curves.BandMarker[0], (MarkerPoint{99, 30}));
  EXPECT_EQ(curves.EqResponse[0], before);

  // Outside the bands and channels nothing is touched.
  const EqCurves copy = curves;
  EXPECT_FALSE(UpdateBand(curves, m, kBandCount, kPeak));
  EXPECT_FALSE(UpdateBand(curves, m, -1, kPeak));
  ComputeHpfResponse(curves, m, kChannelCount, 0);
  EXPECT_EQ(curves.EqResponse, copy.EqResponse);
  EXPECT_EQ(curves.BandMarker, copy.BandMarker);
  EXPECT_EQ(curves.HpfResponse, copy.HpfResponse);
}

// Crossovers at 1000 Hz: the level at the cutoff's column (999.6 Hz) is that of the type's analogue prototype with
// the listed sections (Butterworth sections have Q 0.71, so -2.97; Linkwitz-Riley -6; the Bessel low-pass divisors
// put -3 at the cutoff, the high-pass ones leave it higher); far from the cutoff the curve falls 6 dB per octave for
// each order.
TEST(EqResponse, CrossoverTypesAtTheirCutoffAndFarFromIt) {
  const struct {
    int type;
    double lowPassAtCutoff;
    double highPassAtCutoff;
    int order;
  } types[] = {
      {0, -2.97, -2.97, 2}, {1, -6.00, -6.01, 2}, {2, -3.00, -1.39, 2}, {3, -3.00, -3.01, 3}, {4, -5.97, -5.98, 3},
      {5, -3.00, -2.83, 3}, {6, -2.99, -3.01, 4}, {7, -5.93, -5.94, 4}, {8, -2.95, -2.84, 4},
  };
  ParameterModel m;
  m.HpfFreqIndex[1] = k1000Hz;
  m.LpfFreqIndex[1] = k1000Hz;
  // About one octave apart: 1/8 to 1/4 of the cutoff (high-pass), 4 to 8 times it (low-pass).
  auto slope = [](const ResponseArray& a, int x1, int x2) {
    return std::abs(At(a, x2) - At(a, x1)) / std::log2(GraphXToFreq(x2) / GraphXToFreq(x1));
  };
  for (const auto& t : types) {
    EqCurves curves;
    ComputeHpfResponse(curves, m, 1, t.type);
    ComputeLpfResponse(curves, m, 1, t.type);
    const ResponseArray& hp = curves.HpfResponse[1];
    const ResponseArray& lp = curves.LpfResponse[1];
    EXPECT_NEAR(At(lp, 430), t.lowPassAtCutoff, 0.01) << "type " << t.type;
    EXPECT_NEAR(At(hp, 430), t.highPassAtCutoff, 0.01) << "type " << t.type;
    const double perOctave = 6.0 * t.order * 0.99785;
    EXPECT_NEAR(slope(hp, 255, 313), perOctave, 1.0) << "type " << t.type;
    EXPECT_NEAR(slope(lp, 547, 605), perOctave, 1.0) << "type " << t.type;
    // Pass band.
    EXPECT_NEAR(At(hp, kLastResponseColumn), 0.0, 0.01) << "type " << t.type;
    EXPECT_NEAR(At(lp, kFirstResponseColumn), 0.0, 0.01) << "type " << t.type;
  }
}

TEST(EqResponse, CrossoversAtTheEndsOfTheScaleDrawNearlyFlat) {
  EXPECT_EQ(CrossoverCutoff(CrossoverKind::HighPass, 0), 1.0);
  EXPECT_EQ(CrossoverCutoff(CrossoverKind::LowPass, 243), 60000.0);
  EXPECT_EQ(CrossoverCutoff(CrossoverKind::HighPass, 243), 21900.0);
  EXPECT_EQ(CrossoverCutoff(CrossoverKind::LowPass, 0), 19.7);

  ParameterModel m;  // high-pass index 0, low-pass index 243, both "12db-Bworth"
  EqCurves curves;
  ComputeHpfResponse(curves, m, 0, 0);
  ComputeLpfResponse(curves, m, 0, 0);
  EXPECT_NEAR(At(curves.LpfResponse[0], 682), -0.04, 0.005);  // 20 kHz
  for (int x = kFirstResponseColumn; x <= kLastResponseColumn; ++x)
    ASSERT_NEAR(At(curves.HpfResponse[0], x), 0.0, 0.001) << "column " << x;  // at 19.7 Hz: -2.8 at 20 Hz

  // A type outside the list draws flat.
  ComputeLpfResponse(curves, m, 0, kCrossoverTypeCount);
  for (int x = kFirstResponseColumn; x <= kLastResponseColumn; ++x) ASSERT_EQ(At(curves.LpfResponse[0], x), 0.0);
}

TEST(EqResponse, GroupRecomputeFollowsTheModelForEveryChannel) {
  ParameterModel m;
  m.EqFreqIndex[15] = k1000Hz;  // Low, band 4: peak +12 dB
  m.EqPeakGainIndex[15] = kPlus12dB;
  m.EqFreqIndex[16] = k1000Hz;  // Low, band 5: the same
  m.EqPeakGainIndex[16] = kPlus12dB;
  m.EqType[6] = kLowShelf;  // Mid, band 1: low shelf at 1000 Hz, +12 dB shelf gain, 0 dB peak gain
  m.EqFreqIndex[6] = k1000Hz;
  m.EqShelfGainIndex[6] = kPlus12dB;
  m.HpfFreqIndex[3] = k1000Hz;  // Main: "18db-Bworth" high-pass, "12db-LR" low-pass at 1000 Hz
  m.HpfType[3] = 3;
  m.LpfFreqIndex[3] = k1000Hz;
  m.LpfType[3] = 1;

  EqCurves curves;
  RecomputeGroup(curves, m);

  EXPECT_NEAR(At(curves.EqResponse[15], 430), 11.974, 0.0005);
  EXPECT_NEAR(At(curves.EqResponse[6], 42), 11.97, 0.005);
  EXPECT_NEAR(At(curves.HpfResponse[3], 430), -3.00, 0.01);
  EXPECT_NEAR(At(curves.LpfResponse[3], 430), -6.00, 0.01);
  EXPECT_NEAR(At(curves.HpfResponse[3], 313) - At(curves.HpfResponse[3], 255), 18.0, 1.0);
  // Every marker now stands where the model has it, not at its start position.
  EXPECT_EQ(curves.BandMarker[0], (MarkerPoint{99, 86}));
  EXPECT_EQ(curves.BandMarker[15], (MarkerPoint{430, 30}));
  EXPECT_EQ(curves.BandMarker[6], (MarkerPoint{430, 30}));

  // The curve of a channel sums its own arrays only.
  const ResponseArray low = CompositeCurve(curves, kLow);
  EXPECT_NEAR(At(low, 430), 2 * 11.974, 0.002);
  EXPECT_NEAR(At(CompositeCurve(curves, kHigh), 430), 0.0, 0.001);
  EXPECT_NEAR(At(CompositeCurve(curves, kMain), 430), -9.00, 0.02);
  for (int j : {0, kLastResponseColumn - kResponseColumnOffset + 1, kResponseSize - 1}) {
    EXPECT_EQ(low[j], 0.0) << "position " << j;
    EXPECT_EQ(curves.EqResponse[15][j], 0.0) << "position " << j;
  }
}

TEST(FastLog, AgreesWithTheLibraryOverThePositiveNormalDoubles) {
  std::vector<double> xs;
  for (double x = std::numeric_limits<double>::min(); x < 1e308; x *= 1.0137) xs.push_back(x);
  for (double x = 0.5; x < 2.0; x += 1.01e-5) xs.push_back(x);  // across sqrt(1/2), 1 and sqrt(2)
  for (double d = 1e-17; d < 0.1; d *= 3.1) {
    xs.push_back(1.0 + d);
    xs.push_back(1.0 - d);
  }
  xs.push_back(std::numeric_limits<double>::max());
  for (double x : xs) {
    const double expected = std::log(x);
    ASSERT_LE(std::abs(FastLog(x) - expected), 1e-15 * std::abs(expected)) << "x = " << x;
  }
}

TEST(FastLog, NotPositiveNormalSeparatesWhatItCannotTake) {
  using L = std::numeric_limits<double>;
  for (double x : {1.0, 0.5, L::min(), L::max(), 1e-300, 1e300}) EXPECT_EQ(NotPositiveNormal(x), 0u) << x;
  for (double x : {0.0, -0.0, L::denorm_min(), L::min() / 2, L::infinity(), -L::infinity(), L::quiet_NaN(), -1.0,
                   -L::min(), -L::max()})
    EXPECT_NE(NotPositiveNormal(x), 0u) << x;
}

}  // namespace
}  // namespace k7310
