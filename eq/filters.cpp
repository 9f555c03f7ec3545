// Coefficients of the EQ bands and the crossover filters, and the level of one section.
#include "eq/filters.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "eq/scales.h"

namespace k7310 {

namespace {

// 2 pi / 96000 to seven digits: the design angle per hertz of every band and crossover.
constexpr double kDesignAnglePerHz = 6.544985e-05;
// The shelves move their corner by these factors before the design.
constexpr double kLowShelfCorner = 1.2727272727;
constexpr double kHighShelfCorner = 0.76923076923;
constexpr double kShelfSlope = 1.3;
// Replaces a zero a0 of a damping or first-order section.
constexpr double kZeroGuard = 1e-10;

double Guarded(double a0) { return a0 == 0.0 ? kZeroGuard : a0; }

Biquad Normalised(double a0, double a1, double a2, double b0, double b1, double b2) {
  return {b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0};
}

// One crossover section as the type table lists it.
enum class Stage { Unity, Damping, FirstOrder, Bessel };
struct StageSpec {
  Stage stage = Stage::Unity;
  double d = 0.0;  // damping (1 / 2Q) or first-order pole factor; p of a Bessel factor
  double q = 0.0;  // q of a Bessel factor 1 / (q s^2 + p s + 1)
};
struct TypeSpec {
  double besselDivisor = 0.0;  // 0: the cutoff is used as it is
  std::array<StageSpec, kCrossoverSections> stages{};
};

constexpr StageSpec Damp(double d) { return {Stage::Damping, d, 0.0}; }
constexpr StageSpec First(double d) { return {Stage::FirstOrder, d, 0.0}; }
constexpr StageSpec Bessel(double p, double q) { return {Stage::Bessel, p, q}; }

// The nine types, low-pass and high-pass. Butterworth damping is 0.70422535 (Q 0.71), not 1 / sqrt 2; the high-pass
// Bessel types are damping sections, not the Bessel factors of the low-pass.
constexpr std::array<TypeSpec, kCrossoverTypeCount> kLowPassTypes = {{
    {0.0, {Damp(0.70422535)}},
    {0.0, {Damp(1.0)}},
    {1.3616541287, {Bessel(1.0, 0.3333333333)}},
    {0.0, {First(1.0), Damp(0.5)}},
    {0.0, {First(1.0), Damp(0.70422535211)}},
    {1.75567236868, {Bessel(0.5693712514, 0.154812441), Bessel(0.430628846, 0.0)}},
    {0.0, {Damp(0.92592593), Damp(0.38167939)}},
    {0.0, {Damp(0.70422535211), Damp(0.70422535211)}},
    {2.1139176749, {Bessel(0.369, 0.087858766), Bessel(0.6278294896, 0.109408)}},
}};
constexpr std::array<TypeSpec, kCrossoverTypeCount> kHighPassTypes = {{
    {0.0, {Damp(0.70422535)}},
    {0.0, {Damp(1.0)}},
    {1.2683112435, {Damp(0.70422535)}},
    {0.0, {First(1.0), Damp(0.5)}},
    {0.0, {First(1.0), Damp(0.70422535211)}},
    {1.2854981442, {First(0.756), Damp(0.72463768)}},
    {0.0, {Damp(0.92592593), Damp(0.38167939)}},
    {0.0, {Damp(0.70422535211), Damp(0.70422535211)}},
    {1.5006420029, {Damp(0.96153846), Damp(0.61728395)}},
}};

struct DesignAngle {
  double C;  // cos w0
  double S;  // sin w0
  double K;  // tan(w0 / 2)
};

Biquad Section(CrossoverKind kind, const StageSpec& st, const DesignAngle& w) {
  const bool high = kind == CrossoverKind::HighPass;
  switch (st.stage) {
    case Stage::Unity:
      return {};
    case Stage::Damping: {
      if (st.d == 0.0) return {};
      const double alpha = w.S * st.d;
      const double a0 = Guarded(1.0 + alpha);
      const double b0 = high ? (1.0 + w.C) / 2.0 : (1.0 - w.C) / 2.0;
      return Normalised(a0, -2.0 * w.C, 1.0 - alpha, b0, high ? -2.0 * b0 : 2.0 * b0, b0);
    }
    case Stage::FirstOrder:
      if (high) return Normalised(Guarded(st.d * w.K + 1.0), st.d * w.K - 1.0, 0.0, 1.0, -1.0, 0.0);
      return Normalised(Guarded(w.K + st.d), w.K - st.d, 0.0, w.K, w.K, 0.0);
    case Stage::Bessel: {
      // The analogue factor 1 / (q s^2 + p s + 1) by the bilinear transform; only the low-pass has these. Its a0 is
      // positive for every cutoff of the scale, so it has no guard.
      const double p = st.d;
      const double q = st.q;
      if (p == 0.0) return {};
      const double K2 = w.K * w.K;
      return Normalised(p * w.K + K2 + q, 2.0 * K2 - 2.0 * q, K2 - p * w.K + q, K2, 2.0 * K2, K2);
    }
  }
  return {};
}

}  // namespace

double PeakAngle(double hz) { return 2.0 * 3.141592 * hz / kSampleRate; }

double ShelfAngle(double hz) { return 6.283185307179586 * hz / kSampleRate; }

// The shelves and the crossovers share one table of column angles (eq/response.cpp): hz x 2 pi gives the same
// double as 6.283185307179586 x hz.
static_assert(2.0 * std::numbers::pi == 6.283185307179586);

double MarkerGain(int markerY) {
  const double db = 15.0 - (markerY - 16) / static_cast<double>(GraphHeight - 38) * 45.0;
  return std::trunc(db * 10.0) / 10.0;  // toward zero, never rounded
}

Biquad PeakCoefficients(double f0, double gainDb, double q) {
  const double A = std::pow(10.0, gainDb / 40.0);
  const double bw = std::asinh(1.0 / (2.0 * q)) / 0.34657359;
  const double w0 = kDesignAnglePerHz * f0;
  // The factor is 0.69314718 (ln 2), not half of it: the processor's bands are drawn this wide.
  const double alpha = std::sin(w0) * std::sinh(0.69314718 * bw * w0 / std::sin(w0));
  const double a0 = 1.0 + alpha / A;
  return {(1.0 + alpha * A) / a0, -2.0 * std::cos(w0) / a0, (1.0 - alpha * A) / a0, -2.0 * std::cos(w0) / a0,
          (1.0 - alpha / A) / a0};
}

namespace {

Biquad Shelf(bool low, double f0, double gainDb) {
  if (gainDb == 0.0) return {};
  const double A = std::pow(10.0, gainDb / 40.0);
  const double w0 = kDesignAnglePerHz * f0 * (low ? kLowShelfCorner : kHighShelfCorner);
  const double cw = std::cos(w0);
  const double alpha = std::sin(w0) / 2.0 * std::sqrt((A + 1.0 / A) * (1.0 / kShelfSlope - 1.0) + 2.0);
  const double beta = 2.0 * std::sqrt(A) * alpha;
  if (low) {
    const double a0 = (A + 1.0) + (A - 1.0) * cw + beta;
    return {A * ((A + 1.0) - (A - 1.0) * cw + beta) / a0, 2.0 * A * ((A - 1.0) - (A + 1.0) * cw) / a0,
            A * ((A + 1.0) - (A - 1.0) * cw - beta) / a0, -2.0 * ((A - 1.0) + (A + 1.0) * cw) / a0,
            ((A + 1.0) + (A - 1.0) * cw - beta) / a0};
  }
  const double a0 = (A + 1.0) - (A - 1.0) * cw + beta;
  return {A * ((A + 1.0) + (A - 1.0) * cw + beta) / a0, -2.0 * A * ((A - 1.0) + (A + 1.0) * cw) / a0,
          A * ((A + 1.0) + (A - 1.0) * cw - beta) / a0, 2.0 * ((A - 1.0) - (A + 1.0) * cw) / a0,
          ((A + 1.0) - (A - 1.0) * cw - beta) / a0};
}

}  // namespace

Biquad LowShelfCoefficients(double f0, double gainDb) { return Shelf(true, f0, gainDb); }

Biquad HighShelfCoefficients(double f0, double gainDb) { return Shelf(false, f0, gainDb); }

double CrossoverCutoff(CrossoverKind kind, int freqIndex) {
  const int last = static_cast<int>(kFreqCount) - 1;
  const int i = std::clamp(freqIndex, 0, last);
  if (kind == CrossoverKind::HighPass && i == 0) return 1.0;
  if (kind == CrossoverKind::LowPass && i == last) return 60000.0;
  return FreqTable[i];
}

CrossoverCascade CrossoverSections(CrossoverKind kind, int type, double fc) {
  CrossoverCascade out{};
  if (type < 0 || type >= kCrossoverTypeCount) return out;
  const TypeSpec& desc = (kind == CrossoverKind::HighPass ? kHighPassTypes : kLowPassTypes)[type];
  if (desc.besselDivisor != 0.0) fc /= desc.besselDivisor;
  const double w0 = fc * kDesignAnglePerHz;
  const DesignAngle w{std::cos(w0), std::sin(w0), std::tan(w0 / 2.0)};
  for (int s = 0; s < kCrossoverSections; ++s) out[s] = Section(kind, desc.stages[s], w);
  return out;
}

}  // namespace k7310
