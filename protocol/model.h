// The in-memory copy of the processor's parameter set: table indices and item numbers only.
#pragma once

#include <array>
#include <cstdint>

#include "protocol/frame.h"

namespace k7310 {

// ChannelIndex: 0 High, 1 Mid, 2 Low, 3 Main. Flat band index = 6 x ChannelIndex + band.
inline constexpr int kHigh = 0;
inline constexpr int kMid = 1;
inline constexpr int kLow = 2;
inline constexpr int kMain = 3;
inline constexpr int kOutputCount = 3;
inline constexpr int kChannelCount = 4;
inline constexpr int kBandsPerChannel = 6;
inline constexpr int kBandCount = 24;

// Kept ranges.
inline constexpr int kMaxFreqIndex = 243;
inline constexpr int kMaxEqType = 2;
inline constexpr int kMaxEqGainIndex = 180;
inline constexpr int kMaxQIndex = 179;
inline constexpr int kMaxFilterType = 8;
inline constexpr int kMaxMasterVolume = 301;
constexpr int MaxOutGainIndex(int channel) { return channel == kLow ? 200 : 250; }

// Start frequencies of bands 1..6 of every channel (FreqTable indices).
inline constexpr std::array<int, kBandsPerChannel> kBandStartFreq = {0, 33, 57, 80, 112, 136};

struct ParameterModel {
  std::array<int, kOutputCount> OutGainIndex{120, 120, 120};
  std::array<int, kOutputCount> OutOn{1, 1, 1};
  std::array<int, kChannelCount> OutDelay{};
  std::array<int, kChannelCount> OutPolarity{};
  std::array<int, kChannelCount> HpfFreqIndex{};
  std::array<int, kChannelCount> HpfType{};
  std::array<int, kChannelCount> LpfFreqIndex{243, 243, 243, 243};
  std::array<int, kChannelCount> LpfType{};
  std::array<int, kOutputCount> LimThreshold{};
  std::array<int, kOutputCount> LimAttack{};
  std::array<int, kOutputCount> LimRelease{};
  std::array<int, kBandCount> EqFreqIndex = StartBandFrequencies();
  std::array<int, kBandCount> EqType{};
  std::array<int, kBandCount> EqPeakGainIndex = Filled(120);
  std::array<int, kBandCount> EqShelfGainIndex = Filled(120);
  std::array<int, kBandCount> EqQIndex = Filled(4);
  int Recoup = 0;
  int MasterVolume = 0;
  int BtlMode = 0;
  int LastLoadedGroup = 0;
  int DeviceSetting1 = 0;
  int DeviceSetting2 = 0;
  int NewDeviceId = 1;
  int TempThreshold = 0;

 private:
  static constexpr std::array<int, kBandCount> Filled(int v) {
    std::array<int, kBandCount> a{};
    a.fill(v);
    return a;
  }
  static constexpr std::array<int, kBandCount> StartBandFrequencies() {
    std::array<int, kBandCount> a{};
    for (int i = 0; i < kBandCount; ++i) a[i] = kBandStartFreq[i % kBandsPerChannel];
    return a;
  }
};

// The 8-byte records of the parameter writes; the same bytes are the records of a group block.
ParameterRecord ChannelSettingsRecord(const ParameterModel& m, int channel);  // channel 0..2
ParameterRecord CrossoverRecord(const ParameterModel& m, int channel);        // channel 0..3
ParameterRecord LimiterRecord(const ParameterModel& m, int channel);          // channel 0..2
ParameterRecord EqBandRecord(const ParameterModel& m, int band);              // flat band 0..23
ParameterRecord MainSettingsRecord(const ParameterModel& m);
ParameterRecord DeviceSettingsRecord(const ParameterModel& m);

}  // namespace k7310
