// Golden frames: every command, built from the model, against its exact bytes.
#include <gtest/gtest.h>

#include <functional>

#include "protocol/catalogue.h"
#include "protocol/group_block.h"
#include "protocol_fixtures.h"

namespace k7310 {
namespace {

struct Golden {
  const char* action;
  std::function<Bytes()> build;
  const char* hex;
};

ParameterModel Edited(const std::function<void(ParameterModel&)>& edit) {
  ParameterModel m;
  edit(m);
  return m;
}

TEST(Frames, GoldenTable) {
  const std::vector<Golden> table = {
      {"QueryStatus to ID 1", [] { return QueryStatus(0); }, "A5 A5 A5 00 A2 00 2B 00 00 00 89 AA"},
      {"QueryStatus broadcast", [] { return QueryStatus(255); }, "A5 A5 A5 FF A2 00 2B 00 00 00 76 AA"},
      {"QueryCurrentBlock to ID 3", [] { return QueryCurrentBlock(2); }, "A5 A5 A5 02 A2 00 28 00 00 00 88 AA"},
      {"QueryGroupNames", [] { return QueryGroupNames(0); }, "A5 A5 A5 00 A2 00 26 00 00 00 84 AA"},
      {"QueryDeviceSettings", [] { return QueryDeviceSettings(0); },
       "A5 A5 A5 00 A2 00 21 00 00 08 00 00 00 00 00 00 00 00 8B AA"},
      {"RecallGroup 5", [] { return RecallGroup(0, 5); }, "A5 A5 A5 00 A2 05 28 00 00 00 8F AA"},
      {"ReadStoredGroup 20", [] { return ReadStoredGroup(1, 20); }, "A5 A5 A5 01 A2 14 29 00 00 00 9E AA"},
      {"High settings: gain 200, on",
       [] { return WriteChannelSettings(Edited([](ParameterModel& m) { m.OutGainIndex[0] = 200; }), 0, 0); },
       "A5 A5 A5 00 A1 00 00 00 00 08 C8 01 00 00 00 00 00 00 60 AA"},
      {"Mid settings: gain 250, muted, delay 412, inverted",
       [] {
         return WriteChannelSettings(Edited([](ParameterModel& m) {
                                       m.OutGainIndex[1] = 250;
                                       m.OutOn[1] = 0;
                                       m.OutDelay[1] = 412;
                                       m.OutPolarity[1] = 1;
                                     }),
                                     0, 1);
       },
       "A5 A5 A5 00 A1 00 01 00 00 08 FA 00 9C 01 01 00 00 00 CE AA"},
      {"Main settings: volume 301",
       [] { return WriteMainSettings(Edited([](ParameterModel& m) { m.MasterVolume = 301; }), 0); },
       "A5 A5 A5 00 A1 00 03 00 00 08 00 00 2D 01 00 00 00 00 86 AA"},
      {"Low limiter",
       [] {
         return WriteLimiter(Edited([](ParameterModel& m) {
                               m.LimThreshold[2] = 19;
                               m.LimAttack[2] = 3;
                               m.LimRelease[2] = 6;
                             }),
                             0, 2);
       },
       "A5 A5 A5 00 A1 00 02 02 00 08 13 03 06 00 00 00 00 00 BF AA"},
      {"Main crossover at Area 4",
       [] {
         return WriteCrossover(Edited([](ParameterModel& m) {
                                 m.HpfFreqIndex[3] = 10;
                                 m.HpfType[3] = 7;
                                 m.LpfFreqIndex[3] = 200;
                                 m.LpfType[3] = 8;
                               }),
                               0, 3);
       },
       "A5 A5 A5 00 A1 00 04 00 00 08 0A 07 00 00 C8 08 00 00 60 AA"},
      {"High band 2 as LS still carries the PEQ gain",
       [] {
         return WriteEqBand(Edited([](ParameterModel& m) {
                              m.EqType[1] = 1;
                              m.EqPeakGainIndex[1] = 150;
                              m.EqShelfGainIndex[1] = 60;
                              m.EqQIndex[1] = 10;
                            }),
                            0, 1);
       },
       "A5 A5 A5 00 A1 00 00 04 00 08 21 01 96 00 3C 00 0A 00 2D AA"},
      {"Main band 1 at Area 5 Record 0", [] { return WriteEqBand(ParameterModel{}, 0, 18); },
       "A5 A5 A5 00 A1 00 05 00 00 08 00 00 78 00 78 00 04 00 A8 AA"},
      {"Main band 6 at Area 10 Record 0", [] { return WriteEqBand(ParameterModel{}, 0, 23); },
       "A5 A5 A5 00 A1 00 0A 00 00 08 88 00 78 00 78 00 04 00 2F AA"},
      {"Device settings to ID 3",
       [] {
         return WriteDeviceSettings(Edited([](ParameterModel& m) {
                                      m.LastLoadedGroup = 3;
                                      m.DeviceSetting1 = 7;
                                      m.DeviceSetting2 = 9;
                                      m.NewDeviceId = 5;
                                      m.TempThreshold = 12;
                                    }),
                                    2);
       },
       "A5 A5 A5 02 A1 00 21 00 00 08 03 07 09 05 00 0C 00 00 8E AA"},
      {"StoreGroup 1, 19-character name", [] { return StoreGroup(0, 1, "ABCDEFGHIJKLMNOPQRS"); },
       "A5 A5 A5 00 A1 01 27 00 00 14 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 51 52 53 00 D3 AA"},
      {"StoreGroup 8, blanks trimmed", [] { return StoreGroup(4, 8, "  Vocal "); },
       "A5 A5 A5 04 A1 08 27 00 00 14 56 6F 63 61 6C 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 C9 AA"},
      {"StoreGroup 1, empty name", [] { return StoreGroup(0, 1, ""); },
       "A5 A5 A5 00 A1 01 27 00 00 14 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 93 AA"},
      {"StoreGroup 1, 20 characters keep a closing zero", [] { return StoreGroup(0, 1, "ABCDEFGHIJKLMNOPQRST"); },
       "A5 A5 A5 00 A1 01 27 00 00 14 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 51 52 53 00 D3 AA"},
      {"Block upload header", [] { return WriteBlockHeader(0); }, "A5 A5 A5 00 A1 00 28 00 01 40"},
      {"Stored group 3 upload header", [] { return WriteStoredGroupHeader(0, 3); }, "A5 A5 A5 00 A1 03 29 00 01 40"},
      {"Broadcast High settings carry FF",
       [] { return WriteChannelSettings(Edited([](ParameterModel& m) { m.OutGainIndex[0] = 200; }), 255, 0); },
       "A5 A5 A5 FF A1 00 00 00 00 08 C8 01 00 00 00 00 00 00 9F AA"},
  };
  for (const auto& g : table) EXPECT_EQ(ToSpacedHex(g.build()), g.hex) << g.action;
}

TEST(Frames, RequestChecksumRules) {
  for (int d : {0, 1, 2, 0x55, 0x7F, 0xFE, 0xFF}) {
    const auto di = static_cast<std::uint8_t>(d);
    EXPECT_EQ(QueryStatus(di)[10], d ^ 0x89) << d;
    EXPECT_EQ(QueryCurrentBlock(di)[10], d ^ 0x8A) << d;
    EXPECT_EQ(QueryGroupNames(di)[10], d ^ 0x84) << d;
    EXPECT_EQ(QueryDeviceSettings(di)[18], d ^ 0x8B) << d;
    for (int n : {1, 8, 20}) {
      EXPECT_EQ(RecallGroup(di, n)[10], d ^ n ^ 0x8A) << d << " " << n;
      EXPECT_EQ(ReadStoredGroup(di, n)[10], d ^ n ^ 0x8B) << d << " " << n;
    }
  }
}

TEST(Frames, SlotTableAddressesEveryRecordOnce) {
  // Slot numbers of the catalogue, and that the slot frames address the block record of their command.
  EXPECT_EQ(ChannelSettingsSlot(0), 1);
  EXPECT_EQ(ChannelSettingsSlot(2), 7);
  EXPECT_EQ(CrossoverSlot(1), 5);
  EXPECT_EQ(CrossoverSlot(3), 36);
  EXPECT_EQ(LimiterSlot(2), 9);
  EXPECT_EQ(EqBandSlot(0), 10);
  EXPECT_EQ(EqBandSlot(17), 27);
  EXPECT_EQ(EqBandSlot(18), 30);
  EXPECT_EQ(EqBandSlot(23), 35);
  std::vector<int> seen(kBlockRecordCount, 0);
  const ParameterModel m;
  for (int slot = 1; slot <= kBufferedSlots; ++slot) {
    if (slot == kDeviceSettingsSlot) continue;
    const Bytes f = BuildSlotFrame(slot, m, 0);
    ASSERT_EQ(f.size(), 20u) << slot;
    const int k = BlockRecordIndex(f[6], f[7]);
    ASSERT_GE(k, 0) << slot;
    ++seen[static_cast<std::size_t>(k)];
  }
  for (int k = 0; k < 35; ++k) EXPECT_EQ(seen[static_cast<std::size_t>(k)], 1) << "record " << k;
  EXPECT_TRUE(BuildSlotFrame(38, m, 0).empty());
}

TEST(Frames, StoreGroupTrimsBlanksAndControlCharacters) {
  struct Case { const char* what; std::string name; std::string sent; };
  const Case cases[] = {
      {"spaces", "  Bass  ", "Bass"},
      {"tab, CR, LF", "\t\r\nBass\r\n", "Bass"},
      {"other control characters", std::string("\x01\x1B\x1F" "Bass\x7F\x08\x00", 10), "Bass"},
      {"zero bytes around", std::string("\0\0Bass\0", 7), "Bass"},
      {"blanks inside stay", " Bass  Mid ", "Bass  Mid"},
      {"only blanks and controls", "\x01 \t\x7F", ""},
      {"8-bit text is not trimmed", "\xA0" "Bass\xFF", "\xA0" "Bass\xFF"},
      {"GBK bytes at both ends", "\xC9\xF9 \xD2\xF4", "\xC9\xF9 \xD2\xF4"},
      {"trimmed before the cut to 19", "   ABCDEFGHIJKLMNOPQRS   ", "ABCDEFGHIJKLMNOPQRS"},
  };
  for (const Case& c : cases) {
    const Bytes f = StoreGroup(0, 5, c.name);
    ASSERT_EQ(f.size(), 32u) << c.what;
    Bytes field(c.sent.begin(), c.sent.end());
    field.resize(20, 0);
    EXPECT_EQ(ToSpacedHex(Bytes(f.begin() + 10, f.begin() + 30)), ToSpacedHex(field)) << c.what;
    EXPECT_EQ(f[30], FrameChecksum(f, 29)) << c.what;
  }
}

TEST(Frames, MainBusHasNoChannelSettingsNorLimiter) {
  // The outputs keep their slots; the Main bus and channels out of range get none and build nothing, so no
  // command can end up in an EQ band's slot.
  ParameterModel m;
  for (int c : {kMain, -1, 4}) {
    EXPECT_EQ(ChannelSettingsSlot(c), kNoSlot) << c;
    EXPECT_EQ(LimiterSlot(c), kNoSlot) << c;
    EXPECT_TRUE(WriteChannelSettings(m, 0, c).empty()) << c;
    EXPECT_TRUE(WriteLimiter(m, 0, c).empty()) << c;
  }
  EXPECT_EQ(CrossoverSlot(kMain), kMainCrossoverSlot);
  for (int c : {-1, 4}) EXPECT_TRUE(WriteCrossover(m, 0, c).empty()) << c;
  for (int band : {-1, 24}) EXPECT_TRUE(WriteEqBand(m, 0, band).empty()) << band;
  EXPECT_EQ(SlotTable(kNoSlot).kind, SlotKind::None);
  for (int c = kHigh; c <= kLow; ++c) {
    EXPECT_EQ(SlotTable(ChannelSettingsSlot(c)).kind, SlotKind::ChannelSettings) << c;
    EXPECT_EQ(SlotTable(LimiterSlot(c)).kind, SlotKind::Limiter) << c;
  }
}

TEST(Frames, BlockBodyChecksums) {
  std::string zeros = "A5A5A500520028000140" + std::string(640, '0') + "00AA";
  const Bytes active = BuildBlockBody(zeros, 0, 0);
  ASSERT_EQ(active.size(), kBlockBodySize);
  EXPECT_EQ(active[320], 0xC8);
  EXPECT_EQ(active[321], 0xAA);
  EXPECT_EQ(BuildBlockBody(zeros, 0, 3)[320], 0xCA);
  // The body checksum equals the frame checksum over header and payload.
  std::string block = test::NeutralBlockText();
  Bytes header = WriteStoredGroupHeader(7, 12);
  const Bytes body = BuildBlockBody(block, 7, 12);
  header.insert(header.end(), body.begin(), body.end() - 2);
  EXPECT_EQ(body[320], FrameChecksum(header, header.size() - 1));
  // Reserved bytes 290..329 travel as they stand; the block's own checksum is not used.
  test::PutByte(block, 300, 0x5A);
  test::PutByte(block, 330, 0x00);
  EXPECT_EQ(BuildBlockBody(block, 0, 0)[290], 0x5A);
  EXPECT_TRUE(BuildBlockBody(block.substr(0, 663), 0, 0).empty());
}

}  // namespace
}  // namespace k7310
