// The processor model: exact replies per request, bus addressing, writes landing in the right place, block
// uploads with their time window, faults, and frame assembly after noise, cut and damaged frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "protocol/catalogue.h"
#include "protocol/frame.h"
#include "protocol/group_block.h"
#include "sim/bus.h"
#include "sim/processor.h"

namespace k7310::sim {
namespace {

Bytes Hex(std::string_view text) {
  Bytes b;
  EXPECT_TRUE(ParseHexText(text, b)) << text;
  return b;
}

// Length field, checksum over byte 3 .. last payload byte, end byte.
void ExpectWellFramed(const Bytes& f) {
  ASSERT_GE(f.size(), 12u);
  EXPECT_EQ(f[0], 0xA5);
  EXPECT_EQ(f[1], 0xA5);
  EXPECT_EQ(f[2], 0xA5);
  const std::size_t length = static_cast<std::size_t>(f[8]) << 8 | f[9];
  ASSERT_EQ(f.size(), 12 + length);
  EXPECT_EQ(f[10 + length], FrameChecksum(f, 9 + length));
  EXPECT_EQ(f.back(), 0xAA);
}

Bytes PayloadOf(const Bytes& f) { return Bytes(f.begin() + 10, f.end() - 2); }
Bytes AsBytes(const GroupPayload& p) { return Bytes(p.begin(), p.end()); }

// The replies of a bus fed at one moment, noise left out.
std::vector<Bytes> Replies(Bus& bus, const Bytes& bytes, std::int64_t nowMs) {
  std::vector<Bytes> out;
  for (Outgoing& o : bus.Receive(bytes, nowMs))
    if (o.kind == Traffic::Tx) out.push_back(std::move(o.bytes));
  return out;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

Bytes ParameterWrite(std::uint8_t d, std::uint8_t areaCode, std::uint8_t record, ParameterRecord rec) {
  return BuildParameterFrame(d, areaCode, record, rec);
}

Bytes DeviceSettingsWrite(std::uint8_t d, std::uint8_t newId, std::uint8_t threshold) {
  return ParameterWrite(d, area::kDeviceSettings, 0, {1, 0x11, 0x22, newId, 0, threshold, 0, 0});
}

GroupPayload Pattern(std::uint8_t salt) {
  GroupPayload p;
  for (std::size_t i = 0; i < p.size(); ++i) p[i] = static_cast<std::uint8_t>(i * 7 + salt);
  return p;
}

// ---------------------------------------------------------------------------------------------------------
// Exact replies of one unit (ID 1, DeviceIndex 0) with its readings fixed.

struct GoldenCase {
  const char* what;
  Bytes request;
  const char* reply;  // "" = no reply
};

TEST(SimUnit, ShortRequestsGetTheirExactReply) {
  const std::vector<GoldenCase> cases = {
      {"status: raw 3000 low byte first, 3 dB", QueryStatus(0), "A5A5A50052002B000008 0000B80B03000000 C1AA"},
      {"device settings: own ID in p3", QueryDeviceSettings(0), "A5A5A500520021000008 0100000100000000 7BAA"},
      {"settings write: acknowledge", DeviceSettingsWrite(0, 1, 4), "A5A5A500510021000000 70AA"},
      {"store: acknowledge with area 0", StoreGroup(0, 2, "Live"), "A5A5A500510000000000 51AA"},
      {"parameter write: silent", ParameterWrite(0, 0, 0, {0xC8, 1, 0, 0, 0, 0, 0, 0}), ""},
      {"status under another area", BuildFrame(0, frame_type::kRead, 0, 0x30, 0, {}), ""},
      {"stored group 21 does not exist", ReadStoredGroup(0, 21), ""},
      {"recall of group 21", RecallGroup(0, 21), ""},
      {"store into group 0", StoreGroup(0, 0, "x"), ""},
      {"an acknowledge is no request", BuildFrame(0, frame_type::kAcknowledge, 0, area::kStatus, 0, {}), ""},
  };
  for (const GoldenCase& c : cases) {
    Unit u(1);
    u.FixTemperatureRaw(3000);
    u.SetAttenuationDb(3);
    const auto reply = u.Take(c.request, 0);
    if (std::string_view(c.reply).empty()) {
      EXPECT_FALSE(reply) << c.what << ": " << ToSpacedHex(*reply);
    } else {
      ASSERT_TRUE(reply) << c.what;
      EXPECT_EQ(ToHexText(*reply), ToHexText(Hex(c.reply))) << c.what;
    }
  }
}

TEST(SimUnit, ActiveGroupOfTheNeutralSetIsTheKnownBlock) {
  Unit u(1);
  const auto reply = u.Take(QueryCurrentBlock(0), 0);
  ASSERT_TRUE(reply);
  ExpectWellFramed(*reply);
  EXPECT_EQ(ToHexText(Bytes(reply->begin(), reply->begin() + 10)), "A5A5A500520028000140");
  EXPECT_EQ((*reply)[330], 0xCD);  // the neutral set's checksum under this header
  const std::string text = ToHexText(*reply);
  EXPECT_EQ(text.substr(20, 16), "C801000000000000");   // High channel settings
  EXPECT_EQ(text.substr(36, 16), "00000000F3000000");   // High crossover
  EXPECT_EQ(text.substr(52, 16), "1300000000000000");   // High limiter
  EXPECT_EQ(text.substr(68, 16), "0000780078000400");   // High EQ band 1
  EXPECT_EQ(text.substr(2 * 226, 16), "00002D0100000000");  // Main settings
  EXPECT_EQ(text.substr(2 * 290, 80), std::string(80, '0'));  // reserved records
}

TEST(SimUnit, StoredGroupsAndNamesStartDistinct) {
  Unit u(3);
  const auto g7 = u.Take(ReadStoredGroup(2, 7), 0);
  const auto g8 = u.Take(ReadStoredGroup(2, 8), 0);
  ASSERT_TRUE(g7 && g8);
  ExpectWellFramed(*g7);
  EXPECT_EQ(ToHexText(Bytes(g7->begin(), g7->begin() + 10)), "A5A5A502520729000140");
  EXPECT_EQ(PayloadOf(*g7), AsBytes(u.StoredGroup(7)));
  EXPECT_NE(PayloadOf(*g7), PayloadOf(*g8));

  const auto names = u.Take(QueryGroupNames(2), 0);
  ASSERT_TRUE(names);
  ExpectWellFramed(*names);
  ASSERT_EQ(names->size(), 412u);
  EXPECT_EQ(ToHexText(Bytes(names->begin() + 4, names->begin() + 10)), "520026000190");
  EXPECT_EQ(std::string(names->begin() + 10, names->begin() + 21), "Usr Group 1");
  EXPECT_EQ(NameText(u.StoredName(5)), "Pre Group 5");
  std::vector<std::string> all;
  for (int n = 1; n <= kStoredGroupCount; ++n) all.push_back(NameText(u.StoredName(n)));
  std::sort(all.begin(), all.end());
  EXPECT_EQ(std::unique(all.begin(), all.end()), all.end());
}

TEST(SimUnit, RecallMakesTheGroupActiveAndRemembersIt) {
  Unit u(1);
  const auto reply = u.Take(RecallGroup(0, 5), 0);
  ASSERT_TRUE(reply);
  ExpectWellFramed(*reply);
  EXPECT_EQ(ToHexText(Bytes(reply->begin() + 4, reply->begin() + 7)), "520528");
  EXPECT_EQ(PayloadOf(*reply), AsBytes(u.StoredGroup(5)));
  EXPECT_EQ(u.ActiveSet(), u.StoredGroup(5));
  EXPECT_EQ(u.Settings().LastLoadedGroup, 5);
  const auto settings = u.Take(QueryDeviceSettings(0), 0);
  ASSERT_TRUE(settings);
  EXPECT_EQ((*settings)[10], 5);
  // Editing the working set afterwards leaves the stored group as it was.
  u.Take(ParameterWrite(0, 0, 0, {10, 0, 0, 0, 0, 0, 0, 0}), 0);
  EXPECT_NE(u.ActiveSet(), u.StoredGroup(5));
}

TEST(SimUnit, StoreKeepsTheActiveSetUnderTheGivenName) {
  Unit u(1);
  u.Take(ParameterWrite(0, 1, 2, {7, 3, 2, 0, 0, 0, 0, 0}), 0);  // Mid limiter
  const GroupPayload active = u.ActiveSet();
  ASSERT_TRUE(u.Take(StoreGroup(0, 4, "Stage Left"), 0));
  EXPECT_EQ(u.StoredGroup(4), active);
  const auto names = u.Take(QueryGroupNames(0), 0);
  ASSERT_TRUE(names);
  const Bytes slot(names->begin() + 10 + 3 * 20, names->begin() + 10 + 4 * 20);
  EXPECT_EQ(ToHexText(slot), ToHexText(MakeGroupName("Stage Left")));
  const auto back = u.Take(ReadStoredGroup(0, 4), 0);
  ASSERT_TRUE(back);
  EXPECT_EQ(PayloadOf(*back), AsBytes(active));
}

TEST(SimUnit, ParameterWriteLandsAtItsBlockRecordOnly) {
  struct Case {
    std::uint8_t areaCode, record;
    int k;  // -1: no such record, nothing changes
  };
  const std::vector<Case> cases = {{0, 0, 0},  {0, 5, 5},  {1, 2, 11}, {1, 8, 17}, {2, 0, 18}, {2, 3, 21},
                                   {3, 0, 27}, {4, 0, 28}, {5, 0, 29}, {10, 0, 34}, {3, 1, -1}, {0, 9, -1},
                                   {11, 0, -1}};
  const ParameterRecord rec{0xA5, 0xA5, 0xA5, 0x12, 0x34, 0x56, 0x78, 0x9A};  // sync bytes inside a payload
  for (const Case& c : cases) {
    Bus bus;
    Unit& u = bus.AddUnit(1);
    GroupPayload expected = u.ActiveSet();
    if (c.k >= 0) std::copy(rec.begin(), rec.end(), RecordOf(expected, c.k).begin());
    EXPECT_TRUE(Replies(bus, ParameterWrite(0, c.areaCode, c.record, rec), 0).empty());
    EXPECT_EQ(u.ActiveSet(), expected) << "area " << int(c.areaCode) << " record " << int(c.record);
  }
}

TEST(SimUnit, IdChangeAnswersUnderTheNewIdAndKeepsTheThreshold) {
  Bus bus;
  Unit& u = bus.AddUnit(1);
  const auto ack = Replies(bus, DeviceSettingsWrite(0, 7, 12), 0);
  ASSERT_EQ(ack.size(), 1u);
  EXPECT_EQ(ToHexText(ack[0]), "A5A5A50051002100000070AA");  // under the old index
  EXPECT_EQ(u.Id(), 7);
  EXPECT_TRUE(Replies(bus, QueryStatus(0), 10).empty());
  const auto settings = Replies(bus, QueryDeviceSettings(6), 20);
  ASSERT_EQ(settings.size(), 1u);
  ExpectWellFramed(settings[0]);
  EXPECT_EQ(settings[0][3], 6);
  EXPECT_EQ(settings[0][13], 7);   // NewDeviceId: its own ID
  EXPECT_EQ(settings[0][15], 12);  // TempThreshold
}

TEST(SimUnit, TemperatureDriftsSlowlyWithinTheSensorRange) {
  Unit a(1, 42), b(1, 42);
  int lo = 99999, hi = 0;
  for (std::int64_t t = 0; t < 600000; t += 1000) {
    const int raw = a.TemperatureRaw(t);
    EXPECT_EQ(raw, b.TemperatureRaw(t));  // deterministic per seed
    EXPECT_LE(std::abs(raw - a.TemperatureRaw(t + 1000)), 2);
    lo = std::min(lo, raw);
    hi = std::max(hi, raw);
  }
  EXPECT_GE(lo, 2800);
  EXPECT_LE(hi, 3200);
  EXPECT_GT(hi, lo);  // it does move
  a.FixTemperatureRaw(5200);
  EXPECT_EQ(a.TemperatureRaw(0), 5200);
}

// ---------------------------------------------------------------------------------------------------------
// The bus: addressing, broadcast, several units.

TEST(SimBus, EachUnitAnswersItsOwnIndexAndNobodyAnOtherOne) {
  Bus bus;
  bus.AddUnit(1).FixTemperatureRaw(3000);
  bus.AddUnit(3).FixTemperatureRaw(4000);
  const auto r1 = Replies(bus, QueryStatus(0), 0);
  const auto r3 = Replies(bus, QueryStatus(2), 0);
  ASSERT_EQ(r1.size(), 1u);
  ASSERT_EQ(r3.size(), 1u);
  EXPECT_EQ(r1[0][3], 0);
  EXPECT_EQ(r1[0][12] + 256 * r1[0][13], 3000);
  EXPECT_EQ(r3[0][3], 2);
  EXPECT_EQ(r3[0][12] + 256 * r3[0][13], 4000);
  EXPECT_TRUE(Replies(bus, QueryStatus(1), 0).empty());
  // The frame for nobody was still taken from the line.
  ASSERT_EQ(bus.Log().size(), 5u);
  EXPECT_EQ(bus.Log().back().kind, Traffic::Rx);
  EXPECT_EQ(bus.Log().back().bytes, QueryStatus(1));
}

TEST(SimBus, BroadcastIsTakenByEveryUnitAndAnsweredByNone) {
  Bus bus;
  Unit& a = bus.AddUnit(1);
  Unit& b = bus.AddUnit(2);
  EXPECT_TRUE(bus.Receive(QueryStatus(kBroadcastIndex), 0).empty());
  EXPECT_TRUE(bus.Receive(ParameterWrite(kBroadcastIndex, 3, 0, {1, 0, 0x10, 0, 0, 0, 0, 3}), 0).empty());
  EXPECT_EQ(RecordOf(a.ActiveSet(), 27)[7], 3);
  EXPECT_EQ(RecordOf(b.ActiveSet(), 27)[7], 3);
  // A settings write to all sets the threshold everywhere and gives every unit the one ID it carries: both then
  // answer a poll to that ID, and the old IDs are gone.
  EXPECT_TRUE(bus.Receive(DeviceSettingsWrite(kBroadcastIndex, 9, 20), 0).empty());
  EXPECT_EQ(a.Id(), 9);
  EXPECT_EQ(b.Id(), 9);
  EXPECT_EQ(a.Settings().TempThreshold, 20);
  EXPECT_EQ(b.Settings().TempThreshold, 20);
  EXPECT_EQ(Replies(bus, QueryStatus(8), 0).size(), 2u);
  EXPECT_TRUE(Replies(bus, QueryStatus(0), 0).empty());
  EXPECT_TRUE(Replies(bus, QueryStatus(1), 0).empty());
}

TEST(SimBus, FaultSwitchesPerUnit) {
  Bus bus;
  Unit& quiet = bus.AddUnit(1);
  Unit& nameless = bus.AddUnit(2);
  quiet.silent = true;
  nameless.noNames = true;
  EXPECT_TRUE(Replies(bus, QueryStatus(0), 0).empty());
  EXPECT_TRUE(Replies(bus, QueryCurrentBlock(0), 0).empty());
  // Silent, not deaf: writes still take effect.
  Replies(bus, ParameterWrite(0, 0, 0, {5, 0, 0, 0, 0, 0, 0, 0}), 0);
  EXPECT_EQ(quiet.ActiveSet()[0], 5);
  EXPECT_TRUE(Replies(bus, QueryGroupNames(1), 0).empty());
  EXPECT_EQ(Replies(bus, QueryStatus(1), 0).size(), 1u);
  EXPECT_EQ(Replies(bus, QueryCurrentBlock(1), 0).size(), 1u);
}

TEST(SimBus, HungUpBusTakesNothing) {
  Bus bus;
  bus.AddUnit(1);
  bus.HangUp();
  EXPECT_TRUE(bus.Receive(QueryStatus(0), 0).empty());
  EXPECT_TRUE(bus.Log().empty());
  EXPECT_FALSE(bus.NextEventMs());
}

TEST(SimBus, ReplyIsDueAfterTheProcessingDelayAndLogged) {
  Bus bus({.replyDelayMs = 7});
  bus.AddUnit(1);
  const auto out = bus.Receive(QueryStatus(0), 100);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].dueMs, 107);
  ASSERT_EQ(bus.Log().size(), 2u);
  EXPECT_EQ(bus.Log()[0].timeMs, 100);
  EXPECT_EQ(bus.Log()[0].kind, Traffic::Rx);
  EXPECT_EQ(bus.Log()[1].timeMs, 107);
  EXPECT_EQ(bus.Log()[1].kind, Traffic::Tx);
  EXPECT_EQ(bus.Log()[1].bytes, out[0].bytes);
}

// ---------------------------------------------------------------------------------------------------------
// Block uploads: header, then the body within the window.

class SimUpload : public ::testing::Test {
 protected:
  SimUpload() : unit(bus.AddUnit(1)) {}
  static Bytes Body(const Bytes& header, const GroupPayload& payload) {
    Bytes f = header;
    f.insert(f.end(), payload.begin(), payload.end());
    f.push_back(FrameChecksum(f, f.size() - 1));
    f.push_back(kEnd);
    return Bytes(f.begin() + 10, f.end());
  }
  Bus bus;
  Unit& unit;
};

TEST_F(SimUpload, BodyWithinTheWindowReplacesTheActiveSet) {
  const GroupPayload p = Pattern(1);
  EXPECT_TRUE(bus.Receive(WriteBlockHeader(0), 1000).empty());
  EXPECT_EQ(bus.NextEventMs(), 1000 + kUploadBodyWaitMs + 1);
  EXPECT_TRUE(bus.Advance(1000 + kUploadBodyWaitMs).empty());
  // The last moment: a 1000 ms pause plus the header's line time and some lateness.
  EXPECT_TRUE(bus.Receive(Body(WriteBlockHeader(0), p), 1000 + kUploadBodyWaitMs).empty());
  EXPECT_EQ(unit.ActiveSet(), p);
}

TEST_F(SimUpload, BodyIntoAStoredGroupLeavesTheActiveSet) {
  const GroupPayload p = Pattern(2);
  const GroupPayload active = unit.ActiveSet();
  bus.Receive(WriteStoredGroupHeader(0, 7), 0);
  EXPECT_TRUE(bus.Receive(Body(WriteStoredGroupHeader(0, 7), p), 50).empty());
  EXPECT_EQ(unit.StoredGroup(7), p);
  EXPECT_EQ(unit.ActiveSet(), active);
  EXPECT_EQ(unit.StoredGroup(6), DefaultStoredGroup(6));
}

TEST_F(SimUpload, WholeFrameInOnePieceIsTakenToo) {
  const GroupPayload p = Pattern(3);
  bus.Receive(Concat({WriteBlockHeader(0), Body(WriteBlockHeader(0), p)}), 0);
  EXPECT_EQ(unit.ActiveSet(), p);
}

TEST_F(SimUpload, LateBodyIsDroppedAndTheLineRecovers) {
  const GroupPayload before = unit.ActiveSet();
  bus.Receive(WriteBlockHeader(0), 0);
  const std::int64_t late = kUploadBodyWaitMs + 1;
  bus.Advance(late);  // the header is forgotten
  EXPECT_EQ(bus.Stats().cutFrames, 1u);
  EXPECT_TRUE(Replies(bus, Body(WriteBlockHeader(0), Pattern(4)), late).empty());
  EXPECT_EQ(unit.ActiveSet(), before);
  EXPECT_EQ(Replies(bus, QueryStatus(0), late + 100).size(), 1u);
  // Without the Advance call the late body is noticed on arrival just the same.
  bus.Receive(WriteBlockHeader(0), 2000);
  bus.Receive(Body(WriteBlockHeader(0), Pattern(4)), 2000 + late);
  EXPECT_EQ(unit.ActiveSet(), before);
}

TEST_F(SimUpload, BodyWithAWrongChecksumIsDropped) {
  Bytes body = Body(WriteBlockHeader(0), Pattern(5));
  body[320] ^= 0x01;
  const GroupPayload before = unit.ActiveSet();
  bus.Receive(WriteBlockHeader(0), 0);
  bus.Receive(body, 100);
  EXPECT_EQ(unit.ActiveSet(), before);
}

// ---------------------------------------------------------------------------------------------------------
// Frame assembly: whatever comes before or in between, the next good frame is answered.

TEST(SimAssembly, NextGoodFrameIsAnsweredAfterDamage) {
  Bytes badChecksum = QueryStatus(0);
  badChecksum[10] ^= 0x40;
  Bytes badEnd = QueryStatus(0);
  badEnd[11] = 0x55;
  const Bytes good = QueryStatus(0);
  const Bytes write = ParameterWrite(0, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8});
  const Bytes header = WriteBlockHeader(0);
  struct Case {
    const char* what;
    Bytes before;
  };
  const std::vector<Case> cases = {
      {"noise", Hex("00 13 FF A5 A5 7E 52 AA A5")},
      {"cut header", Bytes(good.begin(), good.begin() + 6)},
      {"cut parameter write", Bytes(write.begin(), write.begin() + 13)},
      {"cut block header", Bytes(header.begin(), header.begin() + 9)},
      {"bad checksum", badChecksum},
      {"bad end byte", badEnd},
      {"length beyond any request", Hex("A5 A5 A5 00 A1 00 28 00 FF FF")},
  };
  for (const Case& c : cases) {
    Bus bus;
    bus.AddUnit(1);
    const auto replies = Replies(bus, Concat({c.before, good}), 0);
    ASSERT_EQ(replies.size(), 1u) << c.what;
    EXPECT_EQ(replies[0][3], 0) << c.what;
    EXPECT_EQ(bus.Log().front().bytes, good) << c.what;  // the damaged frame was never taken
  }
}

TEST(SimAssembly, DamagedFrameAloneIsDroppedAndCounted) {
  Bus bus;
  bus.AddUnit(1);
  Bytes bad = QueryCurrentBlock(0);
  bad[10] ^= 0xFF;
  EXPECT_TRUE(bus.Receive(bad, 0).empty());
  EXPECT_TRUE(bus.Log().empty());
  EXPECT_GE(bus.Stats().badFrames, 1u);
}

TEST(SimAssembly, CutFrameFollowedLaterByAGoodOneIsAnsweredOnTime) {
  Bus bus;
  bus.AddUnit(1);
  // A cut write names 8 payload bytes; the poll arriving 500 ms later must not be read as their rest.
  const Bytes write = ParameterWrite(0, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8});
  bus.Receive(Bytes(write.begin(), write.begin() + 11), 0);
  EXPECT_EQ(bus.NextEventMs(), 101);
  const auto replies = Replies(bus, QueryStatus(0), 500);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(bus.Stats().cutFrames, 1u);
}

TEST(SimAssembly, FramesArrivingByteByByteAndBackToBack) {
  Bus bus;
  bus.AddUnit(1);
  bus.AddUnit(2);
  const Bytes stream = Concat({QueryStatus(0), ParameterWrite(1, 0, 0, {0xA5, 0xA5, 0xA5, 0, 0, 0, 0, 0}),
                               QueryDeviceSettings(1), QueryStatus(0)});
  std::vector<Bytes> replies;
  for (std::size_t i = 0; i < stream.size(); ++i) {
    for (Bytes& r : Replies(bus, Bytes{stream[i]}, static_cast<std::int64_t>(i)))  // 1 ms a byte
      replies.push_back(std::move(r));
  }
  ASSERT_EQ(replies.size(), 3u);
  EXPECT_EQ(replies[1][4], 0x52);
  EXPECT_EQ(replies[1][6], 0x21);
  EXPECT_EQ(bus.FindUnit(2)->ActiveSet()[0], 0xA5);
  EXPECT_EQ(bus.Stats().noiseBytes + bus.Stats().badFrames + bus.Stats().cutFrames, 0u);
}

// ---------------------------------------------------------------------------------------------------------
// Noise on the line.

bool HasSync(const Bytes& b) { return std::find(b.begin(), b.end(), kSync) != b.end(); }

TEST(SimNoise, GarbageBeforeRepliesAndBetweenThemOnlyOnceAFrameCame) {
  Bus bus({.seed = 5});
  bus.AddUnit(1);
  bus.SetNoise(true, 0);
  // Nothing unprompted before the line has carried a frame.
  EXPECT_FALSE(bus.NextEventMs());
  EXPECT_TRUE(bus.Advance(5000).empty());

  const auto out = bus.Receive(QueryStatus(0), 6000);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].kind, Traffic::Noise);
  EXPECT_FALSE(out[0].bytes.empty());
  EXPECT_FALSE(HasSync(out[0].bytes));
  EXPECT_EQ(out[1].kind, Traffic::Tx);
  EXPECT_EQ(out[1].bytes[4], 0x52);

  // Bursts keep coming while the line is in use, never with a sync byte, and stop once it is quiet.
  int bursts = 0;
  for (std::int64_t t = 6000; t <= 12000; t += 10) {
    for (const Outgoing& o : bus.Advance(t)) {
      EXPECT_EQ(o.kind, Traffic::Noise);
      EXPECT_FALSE(HasSync(o.bytes));
      EXPECT_LE(t, 6000 + kNoiseQuietMs);
      ++bursts;
    }
  }
  EXPECT_GE(bursts, 3);
  EXPECT_FALSE(bus.NextEventMs());

  bus.SetNoise(false);
  const auto clean = bus.Receive(QueryStatus(0), 13000);
  ASSERT_EQ(clean.size(), 1u);
  EXPECT_EQ(clean[0].kind, Traffic::Tx);
}

}  // namespace
}  // namespace k7310::sim
