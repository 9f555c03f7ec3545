// The receive parser: recognition by fixed positions, consumption, routing.
#include <gtest/gtest.h>

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
std::string StatusReply(int raw, int atten, std::uint8_t d = 0) {
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

class Parser : public ::testing::Test {
 protected:
  void Feed(const std::string& text) {
    s.RxHex += text;
    ParseReceived(s, h);
  }
  DeviceSession s;
  test::RecordingHost h;
};

TEST_F(Parser, AnyTextStopsTheWatchdogs) {
  h.SetTimer(TimerId::chcon, true);
  h.SetTimer(TimerId::intimer, true);
  Feed("00");
  EXPECT_FALSE(h.On(TimerId::chcon));
  EXPECT_FALSE(h.On(TimerId::intimer));
  EXPECT_TRUE(s.RxHex.empty());  // not a frame start: discarded whole
}

TEST_F(Parser, TextNotStartingWithSyncIsDiscardedWithTheReplyBehindIt) {
  Feed("00" + StatusReply(3000, 2));
  EXPECT_TRUE(s.RxHex.empty());
  EXPECT_TRUE(h.status.empty());
}

TEST_F(Parser, SettingsThenStatusInOneRun) {
  Feed(SettingsReply(5, 10, 2) + StatusReply(5200, 3));
  EXPECT_EQ(s.model.LastLoadedGroup, 5);
  EXPECT_EQ(s.model.DeviceSetting1, 5);
  EXPECT_EQ(s.model.DeviceSetting2, 6);
  EXPECT_EQ(s.model.TempThreshold, 10);
  EXPECT_EQ(h.settingsShown, std::vector<int>{2});
  EXPECT_EQ(h.status, std::vector<std::string>{"<=10 \u00B0C|3 dB"});
  EXPECT_TRUE(s.RxHex.empty());
}

TEST_F(Parser, TemperatureTexts) {
  struct Case {
    int raw;
    const char* text;
  };
  for (const Case& c : {Case{5200, "<=10 \u00B0C"}, Case{5118, "<=10 \u00B0C"}, Case{1123, ">=70 \u00B0C"},
                        Case{500, ">=70 \u00B0C"}, Case{1184, "68 \u00B0C"}, Case{3037, "34 \u00B0C"},
                        Case{4859, "12 \u00B0C"}}) {
    h.status.clear();
    Feed(StatusReply(c.raw, 0));
    ASSERT_EQ(h.status.size(), 1u) << c.raw;
    EXPECT_EQ(h.status[0], std::string(c.text) + "|0 dB") << c.raw;
  }
}

TEST_F(Parser, StatusEndsTheRunAndCreditsTheSearch) {
  s.SearchRunning = 1;
  Feed(StatusReply(3000, 1) + Ack(0x21));
  EXPECT_EQ(h.searchCredits, 1);
  EXPECT_EQ(s.RxHex, Ack(0x21));  // the acknowledge behind a status reply waits for the next run
  s.SearchRunning = 0;
  Feed("");
  EXPECT_TRUE(s.RxHex.empty());
  EXPECT_EQ(h.searchCredits, 1);
}

TEST_F(Parser, AcknowledgeIsConsumedAndTheStatusBehindItWaits) {
  s.flags.AwaitIdAck = 1;
  Feed(Ack(0x21) + StatusReply(3000, 1));
  EXPECT_EQ(s.flags.AwaitIdAck, 0);
  EXPECT_TRUE(h.On(TimerId::Timer2));
  EXPECT_EQ(s.RxHex, StatusReply(3000, 1));
  EXPECT_TRUE(h.status.empty());
}

TEST_F(Parser, StoreAcknowledgeStartsTheConfirmationOnlyWhenAwaited) {
  Feed(Ack(0x00));
  EXPECT_FALSE(h.On(TimerId::Timer11));
  s.flags.AwaitSaveAck = 1;
  Feed(Ack(0x00));
  EXPECT_TRUE(h.On(TimerId::Timer11));
  EXPECT_EQ(s.flags.AwaitSaveAck, 0);
}

TEST_F(Parser, ActiveGroupAppliesAtExactly664Characters) {
  std::string block = test::NeutralBlockText();
  test::PutByte(block, BlockRecordOffset(27) + 2, 0x10);  // volume 0x110
  Feed(block.substr(0, 663));
  EXPECT_EQ(h.applied, 0);
  EXPECT_EQ(s.RxHex.size(), 663u);
  s.commandSlots.RaiseSlot(4);
  Feed(block.substr(663));
  EXPECT_EQ(h.applied, 1);
  EXPECT_EQ(s.model.MasterVolume, 0x110);
  EXPECT_FALSE(s.commandSlots.AnyPending());
  EXPECT_TRUE(s.RxHex.empty());
  ASSERT_EQ(h.sent.size(), 1u);
  EXPECT_EQ(h.sent[0].hex, ToSpacedHex(QueryGroupNames(0)));
}

TEST_F(Parser, RecalledGroupFinishesTheRecall) {
  s.flags.AwaitRecall = 1;
  h.SetTimer(TimerId::Timer22, true);
  h.SetTimer(TimerId::chcon112, true);
  Feed(test::NeutralBlockText());
  EXPECT_EQ(s.flags.AwaitRecall, 0);
  EXPECT_TRUE(h.sent.empty());
  EXPECT_TRUE(s.commandSlots.IsPending(kQueryDeviceSettingsSlot));
  EXPECT_FALSE(h.On(TimerId::Timer22));
  EXPECT_FALSE(h.On(TimerId::chcon112));
  EXPECT_TRUE(h.On(TimerId::Timer1));
  EXPECT_TRUE(h.On(TimerId::sendTimer));
  EXPECT_EQ(h.recallFinished, 1);
}

TEST_F(Parser, KeepAndDumpOneRouteTheBlockInsteadOfApplying) {
  s.flags.AwaitKeep = 1;
  Feed(test::NeutralBlockText());
  EXPECT_EQ(s.PendingBlock, test::NeutralBlockText());
  EXPECT_TRUE(h.On(TimerId::trunon1));
  EXPECT_EQ(s.RxHex, test::NeutralBlockText());  // left in place
  EXPECT_EQ(h.applied, 0);
  s.RxHex.clear();
  s.flags.AwaitDumpOne = 1;
  Feed(test::NeutralBlockText());
  EXPECT_EQ(h.dumpOne, std::vector<std::string>{test::NeutralBlockText()});
  EXPECT_TRUE(s.RxHex.empty());
  EXPECT_EQ(h.applied, 0);
  EXPECT_TRUE(h.On(TimerId::Timer1));
}

TEST_F(Parser, TwentyStoredGroupsOpenTheSaveStepOnce) {
  s.flags.AwaitDumpAll = 1;
  h.SetTimer(TimerId::Timer9, true);
  for (int n = 1; n <= 20; ++n) Feed(StoredBlock(n));
  EXPECT_EQ(h.collected.size(), 20u);
  EXPECT_EQ(h.collected[19], StoredBlock(20));
  EXPECT_EQ(h.dumpAllFinished, 1);
  EXPECT_EQ(s.DumpCount, 0);
  EXPECT_EQ(s.flags.AwaitDumpAll, 0);
  EXPECT_FALSE(h.On(TimerId::Timer9));
  Feed(StoredBlock(1));  // no longer awaited: stays at the front
  EXPECT_EQ(h.dumpAllFinished, 1);
  EXPECT_EQ(s.RxHex, StoredBlock(1));
}

TEST_F(Parser, GroupNamesFillAndStartTheScheduler) {
  h.SetTimer(TimerId::chcon188, true);
  const std::string names = NamesReply();
  ASSERT_EQ(names.size(), 824u);
  Feed(names.substr(0, 823));
  EXPECT_EQ(h.namesShown, 0);
  Feed(names.substr(823));
  EXPECT_EQ(h.namesShown, 1);
  EXPECT_EQ(s.GroupName[0][0], 'L');
  EXPECT_EQ(s.GroupName[0][4], 0);
  EXPECT_EQ(s.GroupName[1][0], 'B');
  EXPECT_FALSE(h.On(TimerId::chcon188));
  EXPECT_TRUE(s.commandSlots.IsPending(kQueryDeviceSettingsSlot));
  EXPECT_TRUE(h.On(TimerId::sendTimer));
  EXPECT_TRUE(h.On(TimerId::Timer1));
}

TEST_F(Parser, LongTextIsDropped) {
  Feed(std::string("A5A5A5") + std::string(994, '0'));
  EXPECT_TRUE(s.RxHex.empty());
}

TEST(ParserTexts, LastLoadedGroupLabel) {
  EXPECT_EQ(LastLoadedGroupText(1), "The last load group:Usr0         ");
  EXPECT_EQ(LastLoadedGroupText(4), "The last load group:Usr3         ");
  EXPECT_EQ(LastLoadedGroupText(5), "The last load group:Pre4         ");
}

}  // namespace
}  // namespace k7310
