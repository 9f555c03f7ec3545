// Second-order sections behind the response graph: the coefficients of the EQ bands and of the crossover filters,
// and the level of a section at one angle. Pure functions; the response arrays are kept by eq/response.h.
//
// The constants are those of the processor's own display, kept as they are although some differ from the textbook
// values: the design angle uses 6.544985e-05 per hertz (2 pi / 96000 to seven digits), the peak's evaluation angle
// 3.141592, the shelves' 6.283185307179586, the crossovers' full-precision pi.
#pragma once

#include <array>

namespace k7310 {

inline constexpr double kSampleRate = 96000.0;

// A second-order section with a0 divided out. The default is the unity section (b0 = 1, everything else 0).
struct Biquad {
  double b0 = 1.0;
  double b1 = 0.0;
  double b2 = 0.0;
  double a1 = 0.0;
  double a2 = 0.0;
};

// |H|^2 of a section at the angle whose cosine and sine are given. The terms are summed in the order the level
// formula writes them (b0 cos w + b1 + b2 cos w, ...), so a prepared loop and a loop that calls cos and sin for every
// column agree to the last bits (near a narrow band at 19.7 Hz the terms nearly cancel; regrouped, the sums differ
// from the literal ones by up to 2e-8).
inline double PowerRatio(const Biquad& s, double cosW, double sinW) {
  const double reNum = s.b0 * cosW + s.b1 + s.b2 * cosW;
  const double imNum = s.b0 * sinW - s.b2 * sinW;
  const double reDen = cosW + s.a1 + s.a2 * cosW;
  const double imDen = sinW - s.a2 * sinW;
  return (reNum * reNum + imNum * imNum) / (reDen * reDen + imDen * imDen);
}

// Evaluation angles of a graph column of frequency hz: the peak's (2 x 3.141592 x hz / 96000) and the shelves'
// (6.283185307179586 x hz / 96000). The crossovers' angle, hz x 2 pi / 96000, is the same number as the shelves'.
double PeakAngle(double hz);
double ShelfAngle(double hz);

// The gain a band is drawn with, read back from its marker's row: the dB of the row cut to 0.1 dB toward zero. A
// -3.0 dB band (row 100) draws as -2.9 dB.
double MarkerGain(int markerY);

// Band coefficients from the centre or corner frequency (Hz), the gain (dB) and, for the peak, Q. A shelf of gain 0
// is the unity section.
Biquad PeakCoefficients(double f0, double gainDb, double q);
Biquad LowShelfCoefficients(double f0, double gainDb);
Biquad HighShelfCoefficients(double f0, double gainDb);

enum class CrossoverKind { HighPass, LowPass };

// CrossoverType: the item of the type lists, "12db-Bworth" (0) .. "24db-Bessel" (8).
inline constexpr int kCrossoverTypeCount = 9;
inline constexpr int kCrossoverSections = 4;
using CrossoverCascade = std::array<Biquad, kCrossoverSections>;

// The cutoff a crossover is drawn with: the FreqTable value of its index, except that a high-pass at the bottom of the
// scale is drawn at 1 Hz and a low-pass at the top at 60000 Hz, so that a filter left at the end draws flat. An index
// outside the table is taken as the nearest end.
double CrossoverCutoff(CrossoverKind kind, int freqIndex);

// The four sections of a crossover of the given type at cutoff fc (Hz, before the Bessel types divide it by their
// factor). Unused sections are unity; a type outside 0..8 gives four unity sections (a flat curve).
CrossoverCascade CrossoverSections(CrossoverKind kind, int type, double fc);

}  // namespace k7310
