// The reply decoders and the receive parser: recognition by fixed positions, consumption, routing.
#include <gtest/gtest.h>

#include <variant>

#include "protocol/catalogue.h"
#include "protocol/group_block.h"
#include "protocol/parser.h"
#include "protocol_fixtures.h"

namespace k7310 {
namespace {

std::string Hex(const Bytes& b) { return ToHexText(b); }

std::string Reply(std::uint8_t d, std::uint8_t type, std::uint8_t group, std::uint8_t areaCode, const Bytes& payload) {
  return Hex(BuildFrame(d, type, group, areaCode, 0, payload));
}
std::string StatusReplyText(int raw, int atten, std::uint8_t d = 0) {
  return Reply(d, 0x52, 0, 0x2B, {0, 0, static_cast<std::uint8_t>(raw & 0xFF), static_cast<std::uint8_t>(raw >> 8),
                                   static_cast<std::uint8_t>(atten), 0, 0, 0});
}
std::string SettingsReply(int last, int thr, std::uint8_t d = 0) {
  return Reply(d, 0x52, 0, 0x21, {static_cast<std::uint8_t>(last), 5, 6, static_cast<std::uint8_t>(d + 1), 0,
                                   static_cast<std::uint8_t>(thr), 0, 0});
}
std::string Ack(std::uint8_t areaCode) { return Reply(0, 0x51, 0, areaCode, {}); }
std::string NamesReply() {
  Bytes p(400, 0);
  const std::string first = "Live";
  for (std::size_t i = 0; i < first.size(); ++i) p[i] = static_cast<std::uint8_t>(first[i]);
  p[20] = 'B';
  return Reply(0, 0x52, 0, 0x26, p);
}
std::string StoredBlock(int n) {
  std::string b = test::NeutralBlockText();
  test::PutByte(b, 5, n);
  test::PutByte(b, 6, 0x29);
  return b;
}

// Recorded reply texts, as a unit sends them, and what they decode to.
TEST(ReplyDecoders, GoldenReplies) {
  // Device settings of the unit at index 2: last group 5, settings 0x11 0x22, new ID 3, threshold 10.
  const auto settings = DecodeDeviceSettings("A5A5A50252002100000805112203000A000046AA");
  ASSERT_TRUE(settings);
  EXPECT_EQ(settings->replyingIndex, 2);
  EXPECT_EQ(settings->lastLoadedGroup, 5);
  EXPECT_EQ(settings->setting1, 0x11);
  EXPECT_EQ(settings->setting2, 0x22);
  EXPECT_EQ(settings->tempThreshold, 10);
  // Status: raw temperature 0x0BDD = 3037 (34 °C, step 18), attenuation 12 dB.
  const auto status = DecodeStatus("A5A5A50052002B0000080000DD0B0C000000ABAA");
  ASSERT_TRUE(status);
  EXPECT_EQ(status->tempRaw, 3037);
  EXPECT_EQ(status->tempStep, 18);
  EXPECT_EQ(status->attenuationDb, 12);
  EXPECT_TRUE(IsSettingsAck("A5A5A50051002100000070AA"));
  EXPECT_TRUE(IsStoreAck("A5A5A50051000000000051AA"));
  EXPECT_FALSE(IsStoreAck("A5A5A50051002100000070AA"));
  EXPECT_TRUE(IsActiveGroup(test::NeutralBlockText()));
  EXPECT_FALSE(IsStoredGroup(test::NeutralBlockText()));
  EXPECT_TRUE(IsStoredGroup(StoredBlock(3)));
  const auto names = DecodeGroupNames(NamesReply());
  ASSERT_TRUE(names);
  EXPECT_EQ((*names)[0][0], 'L');
  EXPECT_EQ((*names)[1][0], 'B');
  // Short or foreign texts decode to nothing.
  EXPECT_FALSE(DecodeStatus("A5A5A50052002B0000080000DD0B0C000000AB"));
  EXPECT_FALSE(DecodeStatus(SettingsReply(1, 1)));
  EXPECT_FALSE(DecodeGroupNames(NamesReply().substr(0, 823)));
  EXPECT_FALSE(IsActiveGroup(test::NeutralBlockText().substr(0, 663)));
}

TEST(ReplyDecoders, TemperatureSteps) {
  const struct {
    int raw, step;
  } cases[] = {{5200, 30}, {5118, 30}, {1123, 0}, {500, 0}, {1184, 1}, {3037, 18}, {4859, 29}};
  for (const auto& c : cases) {
    EXPECT_EQ(TemperatureStep(c.raw), c.step) << c.raw;
    EXPECT_EQ(DecodeStatus(StatusReplyText(c.raw, 0))->tempStep, c.step) << c.raw;
  }
  EXPECT_EQ(DecodeStatus(StatusReplyText(0xFFFF, 0))->tempRaw, 5118);  // capped
}

class Parser : public ::testing::Test {
 protected:
  std::vector<k7310::Reply> Feed(const std::string& text) {
    s.RxHex += text;
    return ParseReceived(s);
  }
  template <class T>
  static const T& As(const k7310::Reply& r) {
    EXPECT_TRUE(std::holds_alternative<T>(r));
    static const T none{};
    return std::holds_alternative<T>(r) ? std::get<T>(r) : none;
  }
  DeviceSession s;
};

TEST_F(Parser, TextNotStartingWithSyncIsDiscardedWithTheReplyBehindIt) {
  EXPECT_TRUE(Feed("00").empty());
  EXPECT_TRUE(s.RxHex.empty());
  EXPECT_TRUE(Feed("00" + StatusReplyText(3000, 2)).empty());
  EXPECT_TRUE(s.RxHex.empty());
}

TEST_F(Parser, SettingsThenStatusInOneRun) {
  const auto replies = Feed(SettingsReply(5, 10, 2) + StatusReplyText(5200, 3));
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(As<rx::DeviceSettings>(replies[0]).values.replyingIndex, 2);
  EXPECT_EQ(As<rx::Status>(replies[1]).values.tempStep, 30);
  EXPECT_EQ(As<rx::Status>(replies[1]).values.attenuationDb, 3);
  EXPECT_EQ(s.model.LastLoadedGroup, 5);
  EXPECT_EQ(s.model.DeviceSetting1, 5);
  EXPECT_EQ(s.model.DeviceSetting2, 6);
  EXPECT_EQ(s.model.TempThreshold, 10);
  EXPECT_TRUE(s.RxHex.empty());
}

TEST_F(Parser, StatusEndsTheRun) {
  const auto replies = Feed(StatusReplyText(3000, 1) + Ack(0x21));
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_TRUE(std::holds_alternative<rx::Status>(replies[0]));
  EXPECT_EQ(s.RxHex, Ack(0x21));  // the acknowledge behind a status reply waits for the next run
  ASSERT_EQ(Feed("").size(), 1u);
  EXPECT_TRUE(s.RxHex.empty());
}

TEST_F(Parser, AcknowledgeIsConsumedAndTheStatusBehindItWaits) {
  s.flags.AwaitIdAck = true;
  const auto replies = Feed(Ack(0x21) + StatusReplyText(3000, 1));
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_TRUE(As<rx::SettingsAck>(replies[0]).awaited);
  EXPECT_FALSE(s.flags.AwaitIdAck);
  EXPECT_EQ(s.RxHex, StatusReplyText(3000, 1));
}

TEST_F(Parser, StoreAcknowledgeIsAwaitedOnlyWhenItsFlagIsSet) {
  auto replies = Feed(Ack(0x00));
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_FALSE(As<rx::StoreAck>(replies[0]).awaited);
  s.flags.AwaitSaveAck = true;
  replies = Feed(Ack(0x00));
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_TRUE(As<rx::StoreAck>(replies[0]).awaited);
  EXPECT_FALSE(s.flags.AwaitSaveAck);
}

TEST_F(Parser, ActiveGroupAppliesAtExactly664Characters) {
  std::string block = test::NeutralBlockText();
  test::PutByte(block, BlockRecordOffset(27) + 2, 0x10);  // volume 0x110
  EXPECT_TRUE(Feed(block.substr(0, 663)).empty());
  EXPECT_EQ(s.RxHex.size(), 663u);
  s.commandSlots.RaiseSlot(4);
  const auto replies = Feed(block.substr(663));
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(As<rx::ActiveGroup>(replies[0]).route, rx::BlockRoute::Apply);
  EXPECT_EQ(s.model.MasterVolume, 0x110);
  EXPECT_FALSE(s.commandSlots.AnyPending());
  EXPECT_TRUE(s.RxHex.empty());
}

TEST_F(Parser, RecalledGroupFinishesTheRecall) {
  s.flags.AwaitRecall = true;
  const auto replies = Feed(test::NeutralBlockText());
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(As<rx::ActiveGroup>(replies[0]).route, rx::BlockRoute::Recall);
  EXPECT_FALSE(s.flags.AwaitRecall);
  EXPECT_TRUE(s.commandSlots.IsPending(kQueryDeviceSettingsSlot));
}

TEST_F(Parser, KeepAndDumpOneRouteTheBlockInsteadOfApplying) {
  s.flags.AwaitKeep = true;
  s.model.MasterVolume = 7;
  auto replies = Feed(test::NeutralBlockText());
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(As<rx::ActiveGroup>(replies[0]).route, rx::BlockRoute::Keep);
  EXPECT_EQ(s.PendingBlock, test::NeutralBlockText());
  EXPECT_EQ(s.RxHex, test::NeutralBlockText());  // left in place
  EXPECT_EQ(s.model.MasterVolume, 7);            // not applied
  s.RxHex.clear();
  s.flags.AwaitDumpOne = true;
  replies = Feed(test::NeutralBlockText());
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(As<rx::ActiveGroup>(replies[0]).route, rx::BlockRoute::DumpOne);
  EXPECT_EQ(As<rx::ActiveGroup>(replies[0]).block, test::NeutralBlockText());
  EXPECT_TRUE(s.RxHex.empty());
  EXPECT_EQ(s.model.MasterVolume, 7);
}

TEST_F(Parser, TwentyStoredGroupsEndTheDownloadOnce) {
  s.flags.AwaitDumpAll = true;
  std::vector<rx::StoredGroup> got;
  for (int n = 1; n <= 20; ++n)
    for (const auto& r : Feed(StoredBlock(n))) got.push_back(As<rx::StoredGroup>(r));
  ASSERT_EQ(got.size(), 20u);
  EXPECT_EQ(got[19].block, StoredBlock(20));
  EXPECT_EQ(got[19].count, 20);
  EXPECT_TRUE(got[19].last);
  EXPECT_EQ(std::count_if(got.begin(), got.end(), [](const auto& g) { return g.last; }), 1);
  EXPECT_EQ(s.DumpCount, 0);
  EXPECT_FALSE(s.flags.AwaitDumpAll);
  EXPECT_TRUE(Feed(StoredBlock(1)).empty());  // no longer awaited: stays at the front
  EXPECT_EQ(s.RxHex, StoredBlock(1));
}

TEST_F(Parser, GroupNamesFillAndQueueTheSettingsQuery) {
  const std::string names = NamesReply();
  ASSERT_EQ(names.size(), 824u);
  EXPECT_TRUE(Feed(names.substr(0, 823)).empty());
  const auto replies = Feed(names.substr(823));
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_TRUE(std::holds_alternative<rx::Names>(replies[0]));
  EXPECT_EQ(s.GroupName[0][0], 'L');
  EXPECT_EQ(s.GroupName[0][4], 0);
  EXPECT_EQ(s.GroupName[1][0], 'B');
  EXPECT_TRUE(s.commandSlots.IsPending(kQueryDeviceSettingsSlot));
  EXPECT_TRUE(s.RxHex.empty());
}

TEST_F(Parser, LongTextIsDropped) {
  EXPECT_TRUE(Feed(std::string("A5A5A5") + std::string(994, '0')).empty());
  EXPECT_TRUE(s.RxHex.empty());
}

}  // namespace
}  // namespace k7310
