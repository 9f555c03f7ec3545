// The transmit scheduler and the status poll on a virtual clock.
#include <gtest/gtest.h>

#include "protocol/catalogue.h"
#include "protocol/group_block.h"
#include "protocol/scheduler.h"
#include "protocol_fixtures.h"

namespace k7310 {
namespace {

class Scheduler : public ::testing::Test {
 protected:
  void SetUp() override {
    s.LinkOpen = true;
    h.Handle(TimerId::sendTimer, [this] { ScanTick(s, h); });
    h.Handle(TimerId::Timer7, [this] { SendTick(s, h); });
    h.Handle(TimerId::Timer4, [this] { ResumeTick(h); });
    h.Handle(TimerId::Timer1, [this] { PollTick(s, h); });
  }
  void StartIdle() {
    h.SetTimer(TimerId::sendTimer, true);
    h.SetTimer(TimerId::Timer1, true);
  }
  DeviceSession s;
  test::RecordingHost h;
};

TEST_F(Scheduler, LowerSlotFirstAndAbout510msApart) {
  s.model.TempThreshold = 4;
  QueueDeviceSettings(s);  // slot 29
  QueueCommand(s, LimiterSlot(0));  // slot 3
  StartIdle();
  h.RunUntil(1600);
  ASSERT_GE(h.sent.size(), 2u);
  EXPECT_EQ(h.sent[0].hex, ToSpacedHex(WriteLimiter(s.model, 0, 0)));
  EXPECT_EQ(h.sent[0].t, 210);  // 10 ms scan + 200 ms send delay
  EXPECT_EQ(h.sent[1].hex, ToSpacedHex(WriteDeviceSettings(s.model, 0)));
  EXPECT_EQ(h.sent[1].t - h.sent[0].t, 510);
  // No status poll went out while slots were pending; the first comes 500 ms after the resume.
  ASSERT_GE(h.sent.size(), 3u);
  EXPECT_EQ(h.sent[2].hex, ToSpacedHex(QueryStatus(0)));
  EXPECT_EQ(h.sent[2].t, h.sent[1].t + 300 + 500);
}

TEST_F(Scheduler, SendCarriesEditsMadeAfterTheScan) {
  StartIdle();
  s.model.EqPeakGainIndex[0] = 130;
  QueueCommand(s, EqBandSlot(0));
  h.RunUntil(100);  // taken by the scan, not yet sent
  EXPECT_FALSE(s.commandSlots.IsPending(10));
  s.model.EqPeakGainIndex[0] = 140;
  QueueCommand(s, EqBandSlot(0));  // raised again within the 200 ms
  h.RunUntil(2000);
  ASSERT_GE(h.sent.size(), 2u);
  EXPECT_EQ(h.sent[0].hex, ToSpacedHex(WriteEqBand(s.model, 0, 0)));
  EXPECT_EQ(h.sent[1].hex, h.sent[0].hex);
}

TEST_F(Scheduler, MainBusLimiterOrChannelSettingsQueueNothing) {
  QueueCommand(s, LimiterSlot(kMain));
  QueueCommand(s, ChannelSettingsSlot(kMain));
  EXPECT_FALSE(s.commandSlots.AnyPending());
  StartIdle();
  h.RunUntil(600);
  ASSERT_FALSE(h.sent.empty());
  for (const auto& sent : h.sent) EXPECT_EQ(sent.hex, ToSpacedHex(QueryStatus(0)));  // the poll alone
}

TEST_F(Scheduler, BroadcastSendsEveryQueuedFrameTwice) {
  s.DeviceIndex = 255;
  QueueCommand(s, ChannelSettingsSlot(1));
  StartIdle();
  h.RunUntil(300);
  ASSERT_EQ(h.sent.size(), 2u);
  EXPECT_EQ(h.sent[0].t, h.sent[1].t);
  EXPECT_EQ(h.sent[0].hex, h.sent[1].hex);
  EXPECT_EQ(h.sent[0].hex.substr(9, 2), "FF");
}

TEST_F(Scheduler, DeviceSettingsAddressTheNewIdExceptInBroadcast) {
  s.model.NewDeviceId = 9;
  s.RxHex = "A5A5";
  EXPECT_TRUE(QueueDeviceSettings(s));
  EXPECT_EQ(s.DeviceIndex, 8);
  EXPECT_TRUE(s.RxHex.empty());
  s.DeviceIndex = 255;
  EXPECT_FALSE(QueueDeviceSettings(s));
  EXPECT_EQ(s.DeviceIndex, 255);
}

TEST_F(Scheduler, NothingIsQueuedOrSentWhileNoLinkIsOpen) {
  s.LinkOpen = false;
  QueueCommand(s, 1);
  EXPECT_FALSE(QueueDeviceSettings(s));
  EXPECT_FALSE(s.commandSlots.AnyPending());
  s.commandSlots.RaiseSlot(3);
  StartIdle();
  h.RunUntil(2000);
  EXPECT_TRUE(h.sent.empty());
}

TEST_F(Scheduler, ProgressOverSixFrames) {
  s.ProgressSends = true;
  for (int b = 0; b < 6; ++b) QueueCommand(s, EqBandSlot(b));
  StartIdle();
  h.RunUntil(4000);
  EXPECT_EQ(h.progress, (std::vector<int>{16, 32, 48, 64, 80, 96}));
  EXPECT_EQ(h.progressFinished, 1);
  EXPECT_FALSE(s.ProgressSends);
}

TEST_F(Scheduler, PollEmptiesRxHexAndArmsTheWatchdogOnce) {
  StartIdle();
  s.RxHex = "A5A5A50052";
  h.RunUntil(500);
  EXPECT_TRUE(s.RxHex.empty());
  EXPECT_TRUE(h.On(TimerId::intimer));
  // Later polls do not restart the watchdog: it fires 2000 ms after the first unanswered poll.
  int fired = 0;
  h.Handle(TimerId::intimer, [&] {
    ++fired;
    h.SetTimer(TimerId::intimer, false);
    EXPECT_EQ(h.now, 2500);
  });
  h.RunUntil(2600);
  EXPECT_EQ(fired, 1);
}

TEST_F(Scheduler, ApplyBlockClearsSlotsAndKeepsTheLinkState) {
  QueueCommand(s, 1);
  s.RxHex = "A5";
  std::string block = test::NeutralBlockText();
  test::PutByte(block, BlockRecordOffset(27) + 2, 0x10);  // volume 0x110
  EXPECT_TRUE(ApplyBlock(s, block));
  EXPECT_EQ(s.model.MasterVolume, 0x110);
  EXPECT_FALSE(s.commandSlots.AnyPending());
  EXPECT_TRUE(s.RxHex.empty());
  EXPECT_TRUE(s.LinkOpen);
  s.LinkOpen = false;
  EXPECT_TRUE(ApplyBlock(s, test::NeutralBlockText()));
  EXPECT_FALSE(s.LinkOpen);  // an apply never opens a link that is closed
  EXPECT_FALSE(ApplyBlock(s, "A5A5A5"));
}

}  // namespace
}  // namespace k7310
