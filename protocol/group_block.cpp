#include "protocol/group_block.h"

#include <algorithm>

#include "eq/scales.h"
#include "protocol/catalogue.h"

namespace k7310 {

namespace {

// Block byte n of a checked text.
int ByteAt(std::string_view t, std::size_t n) { return HexByteAt(t, n); }
int WordAt(std::string_view t, std::size_t n) { return ByteAt(t, n) + 256 * ByteAt(t, n + 1); }

}  // namespace

int BlockRecordIndex(int areaCode, int record) {
  if (areaCode >= 0 && areaCode <= 2 && record >= 0 && record <= 8) return 9 * areaCode + record;
  if (areaCode >= 3 && areaCode <= 10 && record == 0) return 24 + areaCode;
  return -1;
}

bool IsBlockText(std::string_view text) {
  if (text.size() < kBlockTextLength) return false;
  return std::all_of(text.begin(), text.begin() + kBlockTextLength, [](char c) { return HexDigitValue(c) >= 0; });
}

bool DecodeBlock(std::string_view t, ParameterModel& m) {
  if (!IsBlockText(t)) return false;
  for (int c = 0; c < kOutputCount; ++c) {
    const std::size_t ch = BlockRecordOffset(BlockRecordIndex(c, 0));
    m.OutGainIndex[c] = std::min(ByteAt(t, ch), MaxOutGainIndex(c));
    m.OutOn[c] = ByteAt(t, ch + 1);
    m.OutDelay[c] = WordAt(t, ch + 2);
    m.OutPolarity[c] = ByteAt(t, ch + 4);
    const std::size_t lim = BlockRecordOffset(BlockRecordIndex(c, 2));
    m.LimThreshold[c] = ByteAt(t, lim);
    m.LimAttack[c] = ByteAt(t, lim + 1);
    m.LimRelease[c] = ByteAt(t, lim + 2);
  }
  for (int c = 0; c < kChannelCount; ++c) {
    const int k = c < kOutputCount ? BlockRecordIndex(c, 1) : BlockRecordIndex(area::kMainCrossover, 0);
    const std::size_t x = BlockRecordOffset(k);
    m.HpfFreqIndex[c] = std::min(ByteAt(t, x), kMaxFreqIndex);
    m.HpfType[c] = std::min(ByteAt(t, x + 1), kMaxFilterType);
    m.LpfFreqIndex[c] = std::min(ByteAt(t, x + 4), kMaxFreqIndex);
    m.LpfType[c] = std::min(ByteAt(t, x + 5), kMaxFilterType);
  }
  for (int i = 0; i < kBandCount; ++i) {
    const std::size_t b = BlockRecordOffset(BlockRecordIndex(EqBandArea(i), EqBandRecordNumber(i)));
    m.EqFreqIndex[i] = std::min(ByteAt(t, b), kMaxFreqIndex);
    m.EqType[i] = std::min(ByteAt(t, b + 1), kMaxEqType);
    m.EqPeakGainIndex[i] = std::min(WordAt(t, b + 2), kMaxEqGainIndex);
    m.EqShelfGainIndex[i] = std::min(WordAt(t, b + 4), kMaxEqGainIndex);
    m.EqQIndex[i] = std::min(ByteAt(t, b + 6), kMaxQIndex);
  }
  const std::size_t main = BlockRecordOffset(BlockRecordIndex(area::kMainSettings, 0));
  m.Recoup = ByteAt(t, main);
  m.MasterVolume = WordAt(t, main + 2);
  m.OutDelay[kMain] = WordAt(t, main + 4);
  m.OutPolarity[kMain] = ByteAt(t, main + 6);
  m.BtlMode = ByteAt(t, main + 7);
  return true;
}

Bytes BuildBlockBody(std::string_view text, std::uint8_t d, int target) {
  if (!IsBlockText(text)) return {};
  Bytes body;
  body.reserve(kBlockBodySize);
  std::uint8_t x = d ^ 0x01 ^ 0x40 ^ frame_type::kWrite;
  x ^= target == 0 ? area::kActiveGroup : static_cast<std::uint8_t>(target ^ area::kStoredGroup);
  for (std::size_t n = 10; n < 10 + kBlockPayloadSize; ++n) {
    const auto b = static_cast<std::uint8_t>(ByteAt(text, n));
    body.push_back(b);
    x ^= b;
  }
  body.push_back(x);
  body.push_back(kEnd);
  return body;
}

}  // namespace k7310
