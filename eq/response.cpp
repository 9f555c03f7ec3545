// The response arrays: one band or one crossover over the graph's columns, and their sum.
#include "eq/response.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "eq/fast_log.h"
#include "eq/filters.h"

namespace k7310 {

namespace {
// Text drawing elsewhere in the program (the window's labels, the graph's numbers) can leave the upper halves of the
// vector registers dirty; on some processors the plain SSE arithmetic below then runs several times slower until
// they are cleared. Clearing them costs nothing measurable.
void ClearUpperVectorState() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  static const bool avx = __builtin_cpu_supports("avx");
  if (avx) asm volatile("vzeroupper" ::: "memory");
#endif
}


// The cosine and sine of every column's evaluation angle. They depend on the graph's width only, never on a band, so
// they are made once; a band then costs one logarithm a column instead of a power and the trigonometric calls.
struct ColumnTrig {
  ResponseArray cosW{};
  ResponseArray sinW{};
};

ColumnTrig MakeColumnTrig(double (*angle)(double)) {
  ColumnTrig t;
  for (int x = kFirstResponseColumn; x <= kLastResponseColumn; ++x) {
    const double w = angle(GraphXToFreq(x));
    t.cosW[x - kResponseColumnOffset] = std::cos(w);
    t.sinW[x - kResponseColumnOffset] = std::sin(w);
  }
  return t;
}

const ColumnTrig& PeakTrig() {
  static const ColumnTrig t = MakeColumnTrig(PeakAngle);
  return t;
}

// The shelves and the crossovers: their angles are the same number.
const ColumnTrig& FullTrig() {
  static const ColumnTrig t = MakeColumnTrig(ShelfAngle);
  return t;
}

// 40 ln|H| / ln 101 = 20 ln|H|^2 / ln 101.
const double kLevelPerLogPower = 20.0 / std::log(101.0);

bool IsUnity(const Biquad& s) { return s.b0 == 1.0 && s.b1 == 0.0 && s.b2 == 0.0 && s.a1 == 0.0 && s.a2 == 0.0; }

// The level of a cascade at every column: the product of the sections' |H|^2, one logarithm. Unity sections are
// exactly 1 at every column and are left out. The loops run over a local buffer so that nothing aliases and the
// compiler vectorises them.
void Fill(ResponseArray& out, const Biquad* sections, int count, const ColumnTrig& t) {
  std::array<Biquad, kCrossoverSections> active{};
  int n = 0;
  for (int k = 0; k < count && n < kCrossoverSections; ++k) {
    if (!IsUnity(sections[k])) active[n++] = sections[k];
  }
  constexpr int kFirst = kFirstResponseColumn - kResponseColumnOffset;
  constexpr int kColumns = kLastResponseColumn - kFirstResponseColumn + 1;
  if (n == 0) {
    std::fill_n(out.begin() + kFirst, kColumns, 0.0);
    return;
  }
  const double* cosW = t.cosW.data() + kFirst;
  const double* sinW = t.sinW.data() + kFirst;
  std::array<double, kColumns> power;
  for (int j = 0; j < kColumns; ++j) power[j] = PowerRatio(active[0], cosW[j], sinW[j]);
  for (int k = 1; k < n; ++k) {
    const Biquad s = active[k];
    for (int j = 0; j < kColumns; ++j) power[j] *= PowerRatio(s, cosW[j], sinW[j]);
  }
  std::array<double, kColumns> level;
  std::uint64_t unusual = 0;
  for (int j = 0; j < kColumns; ++j) {
    level[j] = kLevelPerLogPower * FastLog(power[j]);
    unusual |= NotPositiveNormal(power[j]);
  }
  // Ratios FastLog does not take (0, subnormal, infinite, NaN) get the library's answer; they do not occur with the
  // model's ranges.
  if (unusual != 0) {
    for (int j = 0; j < kColumns; ++j) level[j] = kLevelPerLogPower * std::log(power[j]);
  }
  std::copy(level.begin(), level.end(), out.begin() + kFirst);
}

bool ValidBand(int band) { return band >= 0 && band < kBandCount; }
bool ValidChannel(int channel) { return channel >= 0 && channel < kChannelCount; }

// Table entries by a model index; the model keeps its ranges, and an index outside them takes the nearest end.
template <std::size_t N>
double Entry(const std::array<double, N>& table, int index) {
  return table[std::clamp(index, 0, static_cast<int>(N) - 1)];
}

void ComputeShelf(EqCurves& curves, int band, bool low) {
  if (!ValidBand(band)) return;
  const MarkerPoint m = curves.BandMarker[band];
  const double f0 = GraphXToFreq(m.x);
  const double g = MarkerGain(m.y);
  const Biquad s = low ? LowShelfCoefficients(f0, g) : HighShelfCoefficients(f0, g);
  Fill(curves.EqResponse[band], &s, 1, FullTrig());
}

void ComputeCrossover(ResponseArray& out, CrossoverKind kind, int freqIndex, int type) {
  const CrossoverCascade sections = CrossoverSections(kind, type, CrossoverCutoff(kind, freqIndex));
  Fill(out, sections.data(), kCrossoverSections, FullTrig());
}

}  // namespace

void PlaceBandMarker(EqCurves& curves, const ParameterModel& model, int band, int type) {
  if (!ValidBand(band)) return;
  const int gain = type == 0 ? model.EqPeakGainIndex[band] : model.EqShelfGainIndex[band];
  curves.BandMarker[band] = {FreqToGraphX(Entry(FreqTable, model.EqFreqIndex[band])),
                             DbToGraphY(Entry(EqGainTable, gain))};
}

bool UpdateBand(EqCurves& curves, const ParameterModel& model, int band, int type) {
  ClearUpperVectorState();
  if (!ValidBand(band)) return false;
  PlaceBandMarker(curves, model, band, type);
  switch (type) {
    case 0: ComputePeakResponse(curves, model, band); return true;
    case 1: ComputeLowShelfResponse(curves, band); return true;
    case 2: ComputeHighShelfResponse(curves, band); return true;
    default: return false;
  }
}

void ComputePeakResponse(EqCurves& curves, const ParameterModel& model, int band) {
  if (!ValidBand(band)) return;
  const MarkerPoint m = curves.BandMarker[band];
  const Biquad s = PeakCoefficients(GraphXToFreq(m.x), MarkerGain(m.y), Entry(QTable, model.EqQIndex[band]));
  Fill(curves.EqResponse[band], &s, 1, PeakTrig());
}

void ComputeLowShelfResponse(EqCurves& curves, int band) { ComputeShelf(curves, band, true); }

void ComputeHighShelfResponse(EqCurves& curves, int band) { ComputeShelf(curves, band, false); }

void ComputeHpfResponse(EqCurves& curves, const ParameterModel& model, int channel, int type) {
  ClearUpperVectorState();
  if (!ValidChannel(channel)) return;
  ComputeCrossover(curves.HpfResponse[channel], CrossoverKind::HighPass, model.HpfFreqIndex[channel], type);
}

void ComputeLpfResponse(EqCurves& curves, const ParameterModel& model, int channel, int type) {
  ClearUpperVectorState();
  if (!ValidChannel(channel)) return;
  ComputeCrossover(curves.LpfResponse[channel], CrossoverKind::LowPass, model.LpfFreqIndex[channel], type);
}

void RecomputeGroup(EqCurves& curves, const ParameterModel& model) {
  ClearUpperVectorState();
  for (int c = 0; c < kChannelCount; ++c) {
    for (int b = 0; b < kBandsPerChannel; ++b) {
      const int band = kBandsPerChannel * c + b;
      UpdateBand(curves, model, band, model.EqType[band]);
    }
    ComputeHpfResponse(curves, model, c, model.HpfType[c]);
    ComputeLpfResponse(curves, model, c, model.LpfType[c]);
  }
}

ResponseArray CompositeCurve(const EqCurves& curves, int channel) {
  ResponseArray sum{};
  if (!ValidChannel(channel)) return sum;
  for (int j = kFirstResponseColumn - kResponseColumnOffset; j <= kLastResponseColumn - kResponseColumnOffset; ++j) {
    double level = 0.0;
    for (int b = 0; b < kBandsPerChannel; ++b) level += curves.EqResponse[kBandsPerChannel * channel + b][j];
    sum[j] = level + curves.HpfResponse[channel][j] + curves.LpfResponse[channel][j];
  }
  return sum;
}

}  // namespace k7310
