#include <gtest/gtest.h>

#include "protocol/catalogue.h"
#include "protocol/group_block.h"
#include "protocol_fixtures.h"

namespace k7310 {
namespace {

using test::NeutralBlockText;
using test::PutByte;

TEST(GroupBlock, NeutralFixtureChecksumIsCD) {
  Bytes b;
  ASSERT_TRUE(ParseHexText(NeutralBlockText(), b));
  ASSERT_EQ(b.size(), kBlockSize);
  EXPECT_EQ(FrameChecksum(b, 329), 0xCD);
  EXPECT_EQ(b[330], 0xCD);
}

TEST(GroupBlock, RecordOffsets) {
  EXPECT_EQ(BlockRecordIndex(0, 0), 0);
  EXPECT_EQ(BlockRecordIndex(1, 2), 11);
  EXPECT_EQ(BlockRecordIndex(2, 8), 26);
  EXPECT_EQ(BlockRecordIndex(3, 0), 27);
  EXPECT_EQ(BlockRecordIndex(4, 0), 28);
  EXPECT_EQ(BlockRecordIndex(10, 0), 34);
  EXPECT_EQ(BlockRecordIndex(3, 1), -1);
  EXPECT_EQ(BlockRecordIndex(0x21, 0), -1);
  EXPECT_EQ(BlockRecordOffset(27), 226u);
  EXPECT_EQ(BlockRecordOffset(34), 282u);
}

TEST(GroupBlock, NeutralBlockDecodes) {
  ParameterModel m;
  m.MasterVolume = 7;
  m.TempThreshold = 9;  // device settings are not part of a block
  ASSERT_TRUE(DecodeBlock(NeutralBlockText(), m));
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(m.OutGainIndex[c], 200);
    EXPECT_EQ(m.OutOn[c], 1);
    EXPECT_EQ(m.LimThreshold[c], 19);
  }
  for (int c = 0; c < 4; ++c) {
    EXPECT_EQ(m.HpfFreqIndex[c], 0);
    EXPECT_EQ(m.LpfFreqIndex[c], 243);
  }
  for (int i = 0; i < 24; ++i) {
    EXPECT_EQ(m.EqFreqIndex[i], 0);
    EXPECT_EQ(m.EqPeakGainIndex[i], 120);
    EXPECT_EQ(m.EqShelfGainIndex[i], 120);
    EXPECT_EQ(m.EqQIndex[i], 4);
  }
  EXPECT_EQ(m.MasterVolume, 301);
  EXPECT_EQ(m.TempThreshold, 9);
}

TEST(GroupBlock, EveryRecordRoundTripsThroughTheWriteFrames) {
  // A block made of arbitrary in-range records decodes to a model whose write frames carry the same records.
  std::string block = NeutralBlockText();
  for (std::size_t n = 10; n < 290; ++n) PutByte(block, n, 0);
  ParameterModel src;
  for (int c = 0; c < 4; ++c) {
    src.OutDelay[c] = 100 * c + 3;
    src.OutPolarity[c] = c % 2;
    src.HpfFreqIndex[c] = 10 + c;
    src.HpfType[c] = c;
    src.LpfFreqIndex[c] = 200 + c;
    src.LpfType[c] = 8 - c;
  }
  for (int c = 0; c < 3; ++c) {
    src.OutGainIndex[c] = 150 + c;
    src.OutOn[c] = c == 1 ? 0 : 1;
    src.LimThreshold[c] = 5 + c;
    src.LimAttack[c] = c;
    src.LimRelease[c] = 6 - c;
  }
  for (int i = 0; i < 24; ++i) {
    src.EqFreqIndex[i] = 7 * i;
    src.EqType[i] = i % 3;
    src.EqPeakGainIndex[i] = 180 - i;
    src.EqShelfGainIndex[i] = i;
    src.EqQIndex[i] = 179 - 2 * i;
  }
  src.Recoup = 1;
  src.MasterVolume = 288;
  src.BtlMode = 2;
  for (int slot = 1; slot <= kBufferedSlots; ++slot) {
    if (slot == kDeviceSettingsSlot) continue;
    const Bytes f = BuildSlotFrame(slot, src, 0);
    const std::size_t at = BlockRecordOffset(BlockRecordIndex(f[6], f[7]));
    for (std::size_t p = 0; p < 8; ++p) PutByte(block, at + p, f[10 + p]);
  }
  ParameterModel out;
  ASSERT_TRUE(DecodeBlock(block, out));
  for (int slot = 1; slot <= kBufferedSlots; ++slot) {
    if (slot == kDeviceSettingsSlot) continue;
    EXPECT_EQ(ToSpacedHex(BuildSlotFrame(slot, out, 0)), ToSpacedHex(BuildSlotFrame(slot, src, 0))) << slot;
  }
}

TEST(GroupBlock, ClampsToKeptRanges) {
  struct Case {
    const char* what;
    std::size_t byte;
    int value;
    std::function<int(const ParameterModel&)> field;
    int expected;
  };
  const std::size_t low = BlockRecordOffset(18), high = BlockRecordOffset(0), band0 = BlockRecordOffset(3),
                    xo = BlockRecordOffset(1), mainXo = BlockRecordOffset(28), main = BlockRecordOffset(27);
  const std::vector<Case> cases = {
      {"Low gain FA", low, 0xFA, [](const ParameterModel& m) { return m.OutGainIndex[2]; }, 200},
      {"High gain FA", high, 0xFA, [](const ParameterModel& m) { return m.OutGainIndex[0]; }, 250},
      {"High gain FF", high, 0xFF, [](const ParameterModel& m) { return m.OutGainIndex[0]; }, 250},
      {"EQ peak gain C8", band0 + 2, 0xC8, [](const ParameterModel& m) { return m.EqPeakGainIndex[0]; }, 180},
      {"EQ shelf gain high byte", band0 + 5, 0x01, [](const ParameterModel& m) { return m.EqShelfGainIndex[0]; },
       180},
      {"EQ freq FF", band0, 0xFF, [](const ParameterModel& m) { return m.EqFreqIndex[0]; }, 243},
      {"EQ type 9", band0 + 1, 9, [](const ParameterModel& m) { return m.EqType[0]; }, 2},
      {"EQ Q B4", band0 + 6, 0xB4, [](const ParameterModel& m) { return m.EqQIndex[0]; }, 179},
      {"HPF type 9", xo + 1, 9, [](const ParameterModel& m) { return m.HpfType[0]; }, 8},
      {"Main LPF freq F4", mainXo + 4, 0xF4, [](const ParameterModel& m) { return m.LpfFreqIndex[3]; }, 243},
      {"OutOn as is", high + 1, 7, [](const ParameterModel& m) { return m.OutOn[0]; }, 7},
      {"Recoup as is", main, 5, [](const ParameterModel& m) { return m.Recoup; }, 5},
      {"BtlMode as is", main + 7, 9, [](const ParameterModel& m) { return m.BtlMode; }, 9},
      {"volume low byte 00", main + 2, 0, [](const ParameterModel& m) { return m.MasterVolume; }, 0x100},
  };
  for (const auto& c : cases) {
    std::string block = NeutralBlockText();
    PutByte(block, c.byte, c.value);
    ParameterModel m;
    ASSERT_TRUE(DecodeBlock(block, m)) << c.what;
    EXPECT_EQ(c.field(m), c.expected) << c.what;
  }
}

TEST(GroupBlock, ReservedBytesAndChecksumHaveNoEffect) {
  std::string block = NeutralBlockText();
  ParameterModel a, b;
  ASSERT_TRUE(DecodeBlock(block, a));
  for (std::size_t n = 290; n <= 331; ++n) PutByte(block, n, 0x77);
  for (std::size_t n = 0; n < 10; ++n) PutByte(block, n, 0x11);
  ASSERT_TRUE(DecodeBlock(block, b));
  EXPECT_EQ(ToSpacedHex(BuildSlotFrame(28, a, 0)), ToSpacedHex(BuildSlotFrame(28, b, 0)));
  EXPECT_EQ(a.EqQIndex, b.EqQIndex);
  EXPECT_EQ(a.LpfFreqIndex, b.LpfFreqIndex);
}

TEST(GroupBlock, RefusesShortOrNonHexText) {
  ParameterModel m;
  m.MasterVolume = 42;
  const std::string good = NeutralBlockText();
  std::string bad = good;
  bad[400] = 'G';
  std::string lower = good;
  lower[21] = 'c';  // lower-case digits are hexadecimal too
  EXPECT_FALSE(DecodeBlock(good.substr(0, 663), m));
  EXPECT_FALSE(DecodeBlock(bad, m));
  EXPECT_FALSE(DecodeBlock("", m));
  EXPECT_EQ(m.MasterVolume, 42);
  EXPECT_TRUE(IsBlockText(lower));
  EXPECT_TRUE(IsBlockText(good + "A5"));  // longer text: the first 664 characters count
}

}  // namespace
}  // namespace k7310
