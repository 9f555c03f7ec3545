// The response arrays of the EQ graph and the band markers, and the steps that recompute them from the parameter
// model. Nothing here draws: the graph draws from an EqCurves after a step has run.
//
// Every array holds a level by graph column, in the graph's level unit 40 ln|H| / ln 101 (0.2 % below decibels, used
// as if it were dB): column x is stored at position x - kResponseColumnOffset. A step writes only the columns
// kFirstResponseColumn .. kLastResponseColumn (positions 1 .. 672 of the 720-pixel graph); position 0 and the
// positions past the last column stay 0. An array keeps its values until a step rewrites it, so a change of one band
// recomputes one array and the curve is a sum.
//
// What the graph does after each step:
//   UpdateBand -> true:  grid, the channel's CompositeCurve, its six markers;
//   UpdateBand -> false: grid and markers only (the band's type is none of 0..2; its array was left as it was);
//   ComputeHpfResponse, ComputeLpfResponse: grid, CompositeCurve, markers;
//   RecomputeGroup (after a whole group has been applied): grid, CompositeCurve and markers of the channel shown.
// The row of a curve's level is DbToGraphY(level) (eq/scales.h).
#pragma once

#include <array>

#include "eq/scales.h"
#include "protocol/model.h"

namespace k7310 {

inline constexpr int kResponseSize = 793;
inline constexpr int kResponseColumnOffset = 41;
inline constexpr int kFirstResponseColumn = 42;
inline constexpr int kLastResponseColumn = GraphWidth - 7;  // 713
using ResponseArray = std::array<double, kResponseSize>;

// A marker's centre on the graph: column x, row y.
struct MarkerPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const MarkerPoint&, const MarkerPoint&) = default;
};

// Where the markers stand before the first group arrives: bands 1..6 of every channel, all on the 0 dB row.
inline constexpr std::array<int, kBandsPerChannel> kMarkerStartX = {101, 177, 236, 294, 371, 429};
inline constexpr int kMarkerStartY = 86;

constexpr std::array<MarkerPoint, kBandCount> StartMarkers() {
  std::array<MarkerPoint, kBandCount> m{};
  for (int i = 0; i < kBandCount; ++i) m[i] = {kMarkerStartX[i % kBandsPerChannel], kMarkerStartY};
  return m;
}

struct EqCurves {
  std::array<ResponseArray, kBandCount> EqResponse{};       // per flat band 0..23
  std::array<ResponseArray, kChannelCount> HpfResponse{};   // per ChannelIndex
  std::array<ResponseArray, kChannelCount> LpfResponse{};   // per ChannelIndex
  std::array<MarkerPoint, kBandCount> BandMarker = StartMarkers();
};

// Puts band's marker where the model has it: the column of its frequency, the row of the gain in effect for type (the
// peak gain for 0, the shelf gain otherwise).
void PlaceBandMarker(EqCurves& curves, const ParameterModel& model, int band, int type);

// The step every change of a band runs through, once the caller has written the model: places the marker, then
// computes the band's array for type (0 peak, 1 low shelf, 2 high shelf; callers pass EqType[band]). Returns false,
// leaving the array as it was, for any other type or a band outside 0..23.
bool UpdateBand(EqCurves& curves, const ParameterModel& model, int band, int type);

// The band's array from its marker (the frequency of its column, the gain of its row, cut to 0.1 dB toward zero) and,
// for the peak, its Q. Run by UpdateBand.
void ComputePeakResponse(EqCurves& curves, const ParameterModel& model, int band);
void ComputeLowShelfResponse(EqCurves& curves, int band);
void ComputeHighShelfResponse(EqCurves& curves, int band);

// A crossover's array from the channel's cutoff index in the model and the given CrossoverType (0..8; any other type
// draws flat). The editor passes its type list's item, the group recompute the model's type.
void ComputeHpfResponse(EqCurves& curves, const ParameterModel& model, int channel, int type);
void ComputeLpfResponse(EqCurves& curves, const ParameterModel& model, int channel, int type);

// After a whole group has been applied: for each channel 0..3, its six bands in order, then its high-pass and its
// low-pass, all with the model's types. The arrays then match the model.
void RecomputeGroup(EqCurves& curves, const ParameterModel& model);

// The curve the graph draws for channel: the sum of its six band arrays, its high-pass and its low-pass array, laid
// out like them (column x at x - kResponseColumnOffset).
ResponseArray CompositeCurve(const EqCurves& curves, int channel);

}  // namespace k7310
