// bench_eq_response: what the response arrays cost. A band is recomputed on every mouse move of a marker drag, and
// all 24 bands and 8 crossovers after every group load.
//
// Each figure is measured twice in the same run: the program's way (the column angles' cosines and sines made once,
// one logarithm a column) and a reference loop that evaluates the level formulas as written, with a power, cosines
// and sines for every column. Before timing anything the program checks that both give the same arrays within 1e-9
// over a spread of bands and crossovers, and exits with an error if they do not.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>

#include "eq/filters.h"
#include "eq/response.h"
#include "eq/scales.h"

namespace k7310 {
namespace {

constexpr double kTolerance = 1e-9;

// One section's level at angle w, as the formula writes it.
double LiteralLevel(const Biquad& s, double w) {
  const double reNum = s.b0 * std::cos(w) + s.b1 + s.b2 * std::cos(w);
  const double imNum = s.b0 * std::sin(w) - s.b2 * std::sin(w);
  const double reDen = std::cos(w) + s.a1 + s.a2 * std::cos(w);
  const double imDen = std::sin(w) - s.a2 * std::sin(w);
  const double magnitude = std::sqrt((reNum * reNum + imNum * imNum) / (reDen * reDen + imDen * imDen));
  return 40.0 * std::log(magnitude) / std::log(101.0);
}

// The coefficients come from the program's functions (they are made once per band, not per column); the columns are
// evaluated literally.
void LiteralBand(ResponseArray& out, const MarkerPoint& marker, int type, double q) {
  const double f0 = GraphXToFreq(marker.x);
  const double g = MarkerGain(marker.y);
  Biquad s;
  switch (type) {
    case 0: s = PeakCoefficients(f0, g, q); break;
    case 1: s = LowShelfCoefficients(f0, g); break;
    case 2: s = HighShelfCoefficients(f0, g); break;
    default: return;
  }
  for (int x = kFirstResponseColumn; x <= kLastResponseColumn; ++x) {
    const double fx = GraphXToFreq(x);
    const double w = type == 0 ? 2.0 * 3.141592 * fx / 96000.0 : 6.283185307179586 * fx / 96000.0;
    out[x - kResponseColumnOffset] = LiteralLevel(s, w);
  }
}

void LiteralCrossover(ResponseArray& out, CrossoverKind kind, int freqIndex, int type) {
  const CrossoverCascade sections = CrossoverSections(kind, type, CrossoverCutoff(kind, freqIndex));
  for (int x = kFirstResponseColumn; x <= kLastResponseColumn; ++x) {
    const double w = GraphXToFreq(x) * 2.0 * std::numbers::pi / 96000.0;
    double level = 0.0;
    for (const Biquad& s : sections) level += LiteralLevel(s, w);
    out[x - kResponseColumnOffset] = level;
  }
}

void LiteralUpdateBand(EqCurves& curves, const ParameterModel& m, int band, int type) {
  PlaceBandMarker(curves, m, band, type);
  LiteralBand(curves.EqResponse[band], curves.BandMarker[band], type, QTable[m.EqQIndex[band]]);
}

void LiteralGroup(EqCurves& curves, const ParameterModel& m) {
  for (int c = 0; c < kChannelCount; ++c) {
    for (int b = 0; b < kBandsPerChannel; ++b) {
      const int band = kBandsPerChannel * c + b;
      LiteralUpdateBand(curves, m, band, m.EqType[band]);
    }
    LiteralCrossover(curves.HpfResponse[c], CrossoverKind::HighPass, m.HpfFreqIndex[c], m.HpfType[c]);
    LiteralCrossover(curves.LpfResponse[c], CrossoverKind::LowPass, m.LpfFreqIndex[c], m.LpfType[c]);
  }
}

// A group with every band and crossover in use: types, frequencies, gains and Qs spread over their ranges.
ParameterModel BusyGroup() {
  ParameterModel m;
  for (int i = 0; i < kBandCount; ++i) {
    m.EqType[i] = i % 3;
    m.EqFreqIndex[i] = (i * 37 + 11) % 244;
    m.EqPeakGainIndex[i] = (i * 53 + 7) % 181;
    m.EqShelfGainIndex[i] = (i * 29 + 90) % 181;
    m.EqQIndex[i] = (i * 71 + 3) % 180;
  }
  for (int c = 0; c < kChannelCount; ++c) {
    m.HpfFreqIndex[c] = c * 40;
    m.HpfType[c] = (2 * c + 1) % 9;
    m.LpfFreqIndex[c] = 243 - c * 50;
    m.LpfType[c] = (3 * c + 2) % 9;
  }
  return m;
}

double MaxDifference(const ResponseArray& a, const ResponseArray& b) {
  double worst = 0.0;
  for (std::size_t j = 0; j < a.size(); ++j) {
    const double d = std::abs(a[j] - b[j]);
    if (!(d <= worst)) worst = d;  // a NaN on either side counts as the worst
  }
  return worst;
}

bool Agree(const char* what, const ResponseArray& prepared, const ResponseArray& literal, double& worst) {
  const double d = MaxDifference(prepared, literal);
  worst = std::max(worst, d);
  if (d <= kTolerance) return true;
  std::fprintf(stderr, "bench_eq_response: %s differs from the literal loop by %g (more than %g)\n", what, d,
               kTolerance);
  return false;
}

// Every band type over the ends and the middle of the frequency, gain and Q ranges; every crossover type at both
// ends of the scale (the substituted cutoffs) and in between; and a whole busy group.
bool PreparedEqualsLiteral() {
  auto prepared = std::make_unique<EqCurves>();
  auto literal = std::make_unique<EqCurves>();
  bool ok = true;
  double worst = 0.0;
  char what[128];
  for (int type = 0; type <= 2; ++type) {
    for (int freq : {0, 1, 57, 136, 200, 242, 243}) {
      for (int gain : {0, 1, 60, 119, 120, 121, 150, 180}) {
        for (int q : {0, 4, 60, 179}) {
          ParameterModel m;
          m.EqType[0] = type;
          m.EqFreqIndex[0] = freq;
          m.EqPeakGainIndex[0] = gain;
          m.EqShelfGainIndex[0] = gain;
          m.EqQIndex[0] = q;
          UpdateBand(*prepared, m, 0, type);
          LiteralUpdateBand(*literal, m, 0, type);
          std::snprintf(what, sizeof what, "band type %d, frequency %d, gain %d, Q %d", type, freq, gain, q);
          ok = Agree(what, prepared->EqResponse[0], literal->EqResponse[0], worst) && ok;
        }
      }
    }
  }
  for (int type = 0; type < kCrossoverTypeCount; ++type) {
    for (int freq : {0, 1, 60, 136, 200, 242, 243}) {
      ParameterModel m;
      m.HpfFreqIndex[0] = freq;
      m.LpfFreqIndex[0] = freq;
      ComputeHpfResponse(*prepared, m, 0, type);
      ComputeLpfResponse(*prepared, m, 0, type);
      LiteralCrossover(literal->HpfResponse[0], CrossoverKind::HighPass, freq, type);
      LiteralCrossover(literal->LpfResponse[0], CrossoverKind::LowPass, freq, type);
      std::snprintf(what, sizeof what, "high-pass type %d, frequency %d", type, freq);
      ok = Agree(what, prepared->HpfResponse[0], literal->HpfResponse[0], worst) && ok;
      std::snprintf(what, sizeof what, "low-pass type %d, frequency %d", type, freq);
      ok = Agree(what, prepared->LpfResponse[0], literal->LpfResponse[0], worst) && ok;
    }
  }
  const ParameterModel group = BusyGroup();
  RecomputeGroup(*prepared, group);
  LiteralGroup(*literal, group);
  for (int i = 0; i < kBandCount; ++i) {
    std::snprintf(what, sizeof what, "group band %d", i);
    ok = Agree(what, prepared->EqResponse[i], literal->EqResponse[i], worst) && ok;
  }
  for (int c = 0; c < kChannelCount; ++c) {
    std::snprintf(what, sizeof what, "group high-pass %d", c);
    ok = Agree(what, prepared->HpfResponse[c], literal->HpfResponse[c], worst) && ok;
    std::snprintf(what, sizeof what, "group low-pass %d", c);
    ok = Agree(what, prepared->LpfResponse[c], literal->LpfResponse[c], worst) && ok;
  }
  if (ok) std::printf("prepared and literal arrays agree: largest difference %.3g (limit %g)\n", worst, kTolerance);
  return ok;
}

ParameterModel OneBand(int type) {
  ParameterModel m;
  m.EqType[0] = type;
  m.EqFreqIndex[0] = 136;
  m.EqPeakGainIndex[0] = 180;
  m.EqShelfGainIndex[0] = 180;
  return m;
}

// Arg: the band type (0 peak, 1 low shelf, 2 high shelf).
void BM_BandPrepared(benchmark::State& state) {
  const int type = static_cast<int>(state.range(0));
  const ParameterModel m = OneBand(type);
  auto curves = std::make_unique<EqCurves>();
  for (auto _ : state) {
    UpdateBand(*curves, m, 0, type);
    benchmark::DoNotOptimize(curves->EqResponse[0].data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BandPrepared)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_BandLiteral(benchmark::State& state) {
  const int type = static_cast<int>(state.range(0));
  const ParameterModel m = OneBand(type);
  auto curves = std::make_unique<EqCurves>();
  for (auto _ : state) {
    LiteralUpdateBand(*curves, m, 0, type);
    benchmark::DoNotOptimize(curves->EqResponse[0].data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BandLiteral)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_GroupPrepared(benchmark::State& state) {
  const ParameterModel m = BusyGroup();
  auto curves = std::make_unique<EqCurves>();
  for (auto _ : state) {
    RecomputeGroup(*curves, m);
    benchmark::DoNotOptimize(curves.get());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GroupPrepared)->Unit(benchmark::kMicrosecond);

void BM_GroupLiteral(benchmark::State& state) {
  const ParameterModel m = BusyGroup();
  auto curves = std::make_unique<EqCurves>();
  for (auto _ : state) {
    LiteralGroup(*curves, m);
    benchmark::DoNotOptimize(curves.get());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GroupLiteral)->Unit(benchmark::kMicrosecond);

// The sum the graph draws after every step.
void BM_CompositeCurve(benchmark::State& state) {
  auto curves = std::make_unique<EqCurves>();
  RecomputeGroup(*curves, BusyGroup());
  for (auto _ : state) {
    const ResponseArray sum = CompositeCurve(*curves, kMid);
    benchmark::DoNotOptimize(sum.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CompositeCurve)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace k7310

int main(int argc, char** argv) {
  if (!k7310::PreparedEqualsLiteral()) return 1;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
