// Arbitrary text into the group block check, the decoder and the upload body.
// Properties: a rejected text leaves the model alone; a decoded model keeps its ranges and its device settings;
// the model written back as records at their block positions decodes to the same model; the upload body carries
// the block's payload and the checksum of the frame it completes.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>

#include "fuzz_check.h"
#include "protocol/catalogue.h"
#include "protocol/frame.h"
#include "protocol/group_block.h"
#include "protocol/model.h"

namespace {

using namespace k7310;

auto BlockFields(const ParameterModel& m) {
  return std::tie(m.OutGainIndex, m.OutOn, m.OutDelay, m.OutPolarity, m.HpfFreqIndex, m.HpfType, m.LpfFreqIndex,
                  m.LpfType, m.LimThreshold, m.LimAttack, m.LimRelease, m.EqFreqIndex, m.EqType, m.EqPeakGainIndex,
                  m.EqShelfGainIndex, m.EqQIndex, m.Recoup, m.MasterVolume, m.BtlMode);
}

auto DeviceFields(const ParameterModel& m) {
  return std::tie(m.LastLoadedGroup, m.DeviceSetting1, m.DeviceSetting2, m.NewDeviceId, m.TempThreshold);
}

ParameterModel StartModel() {
  ParameterModel m;
  m.LastLoadedGroup = 7;
  m.DeviceSetting1 = 0x11;
  m.DeviceSetting2 = 0x22;
  m.NewDeviceId = 9;
  m.TempThreshold = 30;
  return m;
}

template <std::size_t N>
bool Within(const std::array<int, N>& a, int hi) {
  for (int v : a)
    if (v < 0 || v > hi) return false;
  return true;
}

void CheckRanges(const ParameterModel& m) {
  for (int c = 0; c < kOutputCount; ++c)
    K7310_FUZZ_CHECK(m.OutGainIndex[c] >= 0 && m.OutGainIndex[c] <= MaxOutGainIndex(c));
  K7310_FUZZ_CHECK(Within(m.OutOn, 255) && Within(m.OutPolarity, 255) && Within(m.OutDelay, 0xFFFF));
  K7310_FUZZ_CHECK(Within(m.HpfFreqIndex, kMaxFreqIndex) && Within(m.LpfFreqIndex, kMaxFreqIndex));
  K7310_FUZZ_CHECK(Within(m.HpfType, kMaxFilterType) && Within(m.LpfType, kMaxFilterType));
  K7310_FUZZ_CHECK(Within(m.LimThreshold, 255) && Within(m.LimAttack, 255) && Within(m.LimRelease, 255));
  K7310_FUZZ_CHECK(Within(m.EqFreqIndex, kMaxFreqIndex) && Within(m.EqType, kMaxEqType));
  K7310_FUZZ_CHECK(Within(m.EqPeakGainIndex, kMaxEqGainIndex) && Within(m.EqShelfGainIndex, kMaxEqGainIndex));
  K7310_FUZZ_CHECK(Within(m.EqQIndex, kMaxQIndex));
  K7310_FUZZ_CHECK(m.Recoup >= 0 && m.Recoup <= 255 && m.BtlMode >= 0 && m.BtlMode <= 255);
  K7310_FUZZ_CHECK(m.MasterVolume >= 0 && m.MasterVolume <= 0xFFFF);
}

// The block text with the model's records written over the records the model is decoded from.
std::string WithModelRecords(std::string text, const ParameterModel& m) {
  auto put = [&text](int k, const ParameterRecord& r) {
    K7310_FUZZ_CHECK(k >= 0 && k < kBlockRecordCount);
    text.replace(2 * BlockRecordOffset(k), 2 * r.size(), ToHexText(r));
  };
  for (int c = 0; c < kOutputCount; ++c) {
    put(BlockRecordIndex(c, 0), ChannelSettingsRecord(m, c));
    put(BlockRecordIndex(c, 1), CrossoverRecord(m, c));
    put(BlockRecordIndex(c, 2), LimiterRecord(m, c));
  }
  put(BlockRecordIndex(area::kMainSettings, 0), MainSettingsRecord(m));
  put(BlockRecordIndex(area::kMainCrossover, 0), CrossoverRecord(m, kMain));
  for (int i = 0; i < kBandCount; ++i) put(BlockRecordIndex(EqBandArea(i), EqBandRecordNumber(i)), EqBandRecord(m, i));
  return text;
}

void CheckUploadBody(std::string_view text, bool isBlock, std::uint8_t d, int target) {
  const Bytes body = BuildBlockBody(text, d, target);
  K7310_FUZZ_CHECK(body.empty() == !isBlock);
  if (!isBlock) return;
  Bytes block;
  K7310_FUZZ_CHECK(ParseHexText(text.substr(0, kBlockTextLength), block));
  K7310_FUZZ_CHECK(block.size() == kBlockSize);
  std::string upper(text.substr(0, kBlockTextLength));
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  K7310_FUZZ_CHECK(ToHexText(block) == upper);

  K7310_FUZZ_CHECK(body.size() == kBlockBodySize && body.back() == kEnd);
  Bytes frame = target == 0 ? WriteBlockHeader(d) : WriteStoredGroupHeader(d, target);
  K7310_FUZZ_CHECK(frame.size() == kHeaderSize);
  frame.insert(frame.end(), body.begin(), body.end() - 2);
  K7310_FUZZ_CHECK(std::equal(body.begin(), body.end() - 2, block.begin() + kHeaderSize));
  K7310_FUZZ_CHECK(body[kBlockPayloadSize] == FrameChecksum(frame, frame.size() - 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const bool isBlock = IsBlockText(text);

  ParameterModel m = StartModel();
  const ParameterModel before = m;
  K7310_FUZZ_CHECK(DecodeBlock(text, m) == isBlock);
  K7310_FUZZ_CHECK(DeviceFields(m) == DeviceFields(before));
  if (!isBlock) {
    K7310_FUZZ_CHECK(BlockFields(m) == BlockFields(before));
  } else {
    CheckRanges(m);
    const std::string again = WithModelRecords(std::string(text.substr(0, kBlockTextLength)), m);
    K7310_FUZZ_CHECK(IsBlockText(again));
    ParameterModel m2 = StartModel();
    K7310_FUZZ_CHECK(DecodeBlock(again, m2));
    K7310_FUZZ_CHECK(BlockFields(m2) == BlockFields(m));
  }

  CheckUploadBody(text, isBlock, static_cast<std::uint8_t>(size & 0xFF), static_cast<int>(size % 21));
  return 0;
}
