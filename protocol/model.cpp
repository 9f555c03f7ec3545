#include "protocol/model.h"

namespace k7310 {

namespace {
std::uint8_t B(int v) { return static_cast<std::uint8_t>(v & 0xFF); }
}  // namespace

ParameterRecord ChannelSettingsRecord(const ParameterModel& m, int c) {
  const WordBytes delay = SplitWord(m.OutDelay[c]);
  return {B(m.OutGainIndex[c]), B(m.OutOn[c]), delay.lo, delay.hi, B(m.OutPolarity[c]), 0, 0, 0};
}

ParameterRecord CrossoverRecord(const ParameterModel& m, int c) {
  return {B(m.HpfFreqIndex[c]), B(m.HpfType[c]), 0, 0, B(m.LpfFreqIndex[c]), B(m.LpfType[c]), 0, 0};
}

ParameterRecord LimiterRecord(const ParameterModel& m, int c) {
  return {B(m.LimThreshold[c]), B(m.LimAttack[c]), B(m.LimRelease[c]), 0, 0, 0, 0, 0};
}

ParameterRecord EqBandRecord(const ParameterModel& m, int i) {
  const WordBytes peak = SplitWord(m.EqPeakGainIndex[i]);
  const WordBytes shelf = SplitWord(m.EqShelfGainIndex[i]);
  return {B(m.EqFreqIndex[i]), B(m.EqType[i]), peak.lo, peak.hi, shelf.lo, shelf.hi, B(m.EqQIndex[i]), 0};
}

ParameterRecord MainSettingsRecord(const ParameterModel& m) {
  const WordBytes volume = SplitWord(m.MasterVolume);
  const WordBytes delay = SplitWord(m.OutDelay[kMain]);
  return {B(m.Recoup), 0, volume.lo, volume.hi, delay.lo, delay.hi, B(m.OutPolarity[kMain]), B(m.BtlMode)};
}

ParameterRecord DeviceSettingsRecord(const ParameterModel& m) {
  return {B(m.LastLoadedGroup), B(m.DeviceSetting1), B(m.DeviceSetting2), B(m.NewDeviceId), 0,
          B(m.TempThreshold), 0, 0};
}

}  // namespace k7310
