// The device backend against a test link: the dispatch of each decoded reply, the transmit decision's errors, the
// watchdogs and the port list names. Qt Core only.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "device/backend/device_search.h"
#include "link/device_backend.h"
#include "protocol/catalogue.h"
#include "tests/support/fake_link.h"
#include "tests/support/sim_process.h"
#include "tests/unit/protocol_fixtures.h"

#ifdef QT_WIDGETS_LIB
#error "the device backend's tests must not link Qt Widgets"
#endif

namespace k7310 {
namespace {

QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "test_backend";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

std::string NamesReplyText() {
  return ToHexText(BuildFrame(0, 0x52, 0, 0x26, 0, Bytes(400, 0)));
}

class Backend : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    backend.SetSerialLink(&link);
    backend.Ports().source = [] { return QStringList{QStringLiteral("/fake/ttyUSB0")}; };
    backend.Ports().present = [](const QString&) { return true; };
    backend.Start();
    QObject::connect(&backend, &DeviceBackend::ModelApplied, [this] { log.push_back("applied"); });
    QObject::connect(&backend, &DeviceBackend::PortSelectionLocked, [this] { log.push_back("locked"); });
    QObject::connect(&backend, &DeviceBackend::GroupNamesReceived, [this] { log.push_back("names"); });
    QObject::connect(&backend, &DeviceBackend::RecallFinished, [this] { log.push_back("recalled"); });
    QObject::connect(&backend, &DeviceBackend::BlockKept, [this](const std::string&) { log.push_back("kept"); });
    QObject::connect(&backend, &DeviceBackend::BlockForFile, [this](const std::string&) { log.push_back("file"); });
    QObject::connect(&backend, &DeviceBackend::SettingsAcknowledged, [this] { log.push_back("id-ack"); });
    QObject::connect(&backend, &DeviceBackend::StatusReceived,
                     [this](const StatusReply& r) { log.push_back("status " + std::to_string(r.attenuationDb)); });
    QObject::connect(&backend, &DeviceBackend::LinkEnded, [this](LinkEnd why, bool was) {
      log.push_back(std::string(why == LinkEnd::NoAnswer ? "no-answer" : "port-gone") + (was ? " connected" : ""));
    });
  }
  void Connect() {
    ASSERT_TRUE(backend.OpenForConnect());
    backend.StartHandshake();
    backend.MarkConnected();
  }
  bool On(TimerId id) const { return backend.Timer(id).Enabled(); }

  test::FakeLink link;
  DeviceBackend backend;
  std::vector<std::string> log;
};

TEST_F(Backend, HandshakeFromBlockToNamesStartsTheSchedulerAndThePoll) {
  Connect();
  EXPECT_EQ(link.opened, std::vector<QString>{QStringLiteral("/fake/ttyUSB0")});
  EXPECT_EQ(backend.Ports().PortNumber, backend.Ports().PortNumbers()[0]);
  ASSERT_EQ(link.written.size(), 1u);
  EXPECT_EQ(link.written[0], ToHexText(QueryCurrentBlock(0)));
  EXPECT_TRUE(On(TimerId::chcon) && On(TimerId::chcon112) && On(TimerId::chcon188));
  EXPECT_EQ(backend.State(), ConnectionState::Connecting);

  link.Feed(test::NeutralBlockText());
  EXPECT_FALSE(On(TimerId::chcon));  // any reception answers the first watchdog
  EXPECT_FALSE(On(TimerId::chcon112));
  EXPECT_TRUE(On(TimerId::chcon188));
  EXPECT_EQ(log, (std::vector<std::string>{"applied", "locked"}));
  ASSERT_EQ(link.written.size(), 2u);
  EXPECT_EQ(link.written[1], ToHexText(QueryGroupNames(0)));
  EXPECT_FALSE(On(TimerId::Timer1));

  link.Feed(NamesReplyText());
  EXPECT_FALSE(On(TimerId::chcon188));
  EXPECT_TRUE(On(TimerId::sendTimer));
  EXPECT_TRUE(On(TimerId::Timer1));
  EXPECT_EQ(backend.State(), ConnectionState::Connected);
  EXPECT_EQ(log.back(), "names");
  EXPECT_TRUE(backend.Session().commandSlots.IsPending(kQueryDeviceSettingsSlot));
  EXPECT_EQ(link.resets, 2);  // every reception ends a partly assembled reply
}

TEST_F(Backend, RoutedBlocksGoToTheirFeatures) {
  Connect();
  const struct {
    bool RoutingFlags::*flag;
    const char* seen;
    bool pollAfter;
  } cases[] = {{&RoutingFlags::AwaitRecall, "recalled", true},
               {&RoutingFlags::AwaitDumpOne, "file", true},
               {&RoutingFlags::AwaitKeep, "kept", false}};
  for (const auto& c : cases) {
    log.clear();
    backend.Timer(TimerId::Timer1).SetEnabled(false);
    backend.Timer(TimerId::chcon112).SetEnabled(true);
    backend.Session().RxHex.clear();
    backend.Session().flags.*c.flag = true;
    const std::size_t written = link.written.size();
    link.Feed(test::NeutralBlockText());
    EXPECT_NE(std::find(log.begin(), log.end(), c.seen), log.end()) << c.seen;
    EXPECT_EQ(link.written.size(), written) << c.seen;  // no names query: this is not a connect
    EXPECT_FALSE(On(TimerId::chcon112)) << c.seen;
    EXPECT_EQ(On(TimerId::Timer1), c.pollAfter) << c.seen;
    EXPECT_FALSE(backend.Session().flags.*c.flag) << c.seen;
  }
}

TEST_F(Backend, AcknowledgesReachOnlyAWaitingFeature) {
  Connect();
  const std::string ack = ToHexText(BuildFrame(0, 0x51, 0, 0x21, 0, {}));
  link.Feed(ack);
  EXPECT_TRUE(log.empty());
  backend.Session().flags.AwaitIdAck = true;
  link.Feed(ack);
  EXPECT_EQ(log, std::vector<std::string>{"id-ack"});
}

TEST_F(Backend, RefusedFramesAreReportedNotLostUnseen) {
  int failed = 0;
  QObject::connect(&backend, &DeviceBackend::SendFailed, [&] { ++failed; });
  EXPECT_FALSE(backend.TransmitCurrent(QueryStatus(0)));  // no link open
  EXPECT_EQ(failed, 1);
  Connect();
  EXPECT_TRUE(backend.TransmitCurrent(QueryStatus(0)));
  link.failWrites = true;
  EXPECT_FALSE(backend.TransmitCurrent(QueryStatus(0)));
  EXPECT_EQ(backend.SendFailures(), 2);
  EXPECT_EQ(failed, 2);
  // The frame still went into both send buffers, the report keeping the bytes behind it.
  EXPECT_EQ(backend.TxFrame(), QueryStatus(0));
  EXPECT_EQ(backend.HidReport()[0], 0);
  EXPECT_EQ(backend.HidReport()[1], 0xA5);
}

TEST_F(Backend, UnansweredHandshakeEndsTheLinkAfterTheFirstWatchdog) {
  Connect();
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(test::WaitUntil([&] { return !log.empty(); }, 3000));
  EXPECT_GE(clock.elapsed(), 780);
  EXPECT_EQ(log, std::vector<std::string>{"no-answer connected"});
  EXPECT_EQ(backend.State(), ConnectionState::Disconnected);
  EXPECT_FALSE(backend.LinkOpen());
  EXPECT_FALSE(link.IsOpen());
  EXPECT_FALSE(On(TimerId::chcon112) || On(TimerId::chcon188) || On(TimerId::Timer1));
  EXPECT_EQ(backend.Ports().PortNumber, kPortNone);
}

TEST_F(Backend, VanishedPortEndsTheLinkWithoutTheWarning) {
  Connect();
  link.Vanish();
  EXPECT_EQ(log, std::vector<std::string>{"port-gone connected"});
  EXPECT_EQ(backend.State(), ConnectionState::Disconnected);
  EXPECT_FALSE(backend.LinkOpen());
}

TEST_F(Backend, FailedOpenLeavesPortNumberZero) {
  link.failOpen = true;
  EXPECT_FALSE(backend.OpenForConnect());
  EXPECT_EQ(backend.Ports().PortNumber, kPortNotFound);
  EXPECT_EQ(backend.State(), ConnectionState::Disconnected);
}

TEST(PortListNames, ShortNamesFitTheNarrowList) {
  const struct {
    const char* path;
    const char* shortName;
  } cases[] = {{"/dev/ttyUSB0", "ttyUSB0"}, {"/dev/pts/3", "pts/3"}, {"/tmp/k7310", "k7310"},
               {"/dev/serial/by-id/usb-x", "serial/by-id/usb-x"}, {"COM3", "COM3"}};
  for (const auto& c : cases)
    EXPECT_EQ(PortList::ShortName(QString::fromLatin1(c.path)).toStdString(), c.shortName) << c.path;
}

}  // namespace
}  // namespace k7310

namespace k7310 {
namespace {

// The start-up sweep ignores a failed send and goes on with the next index and the next port; the full search
// ends at the first one. (The waits are shortened; the steps are those of the real plans.)
TEST(DeviceSearchErrors, StartupSweepGoesOnAfterASendErrorTheFullSearchStops) {
  App();
  for (const bool startup : {true, false}) {
    test::FakeLink link;
    DeviceBackend backend;
    backend.SetSerialLink(&link);
    backend.Ports().source = [] { return QStringList{QStringLiteral("/fake/a"), QStringLiteral("/fake/b")}; };
    backend.Ports().present = [](const QString&) { return true; };
    backend.Start();
    link.failWrites = true;
    SearchHits hits;
    DeviceSearch::Plan plan = startup ? DeviceSearch::StartupSweep() : DeviceSearch::FullSearch();
    plan.waitMs = 1;
    DeviceSearch search(backend, hits, plan);
    bool done = false;
    QObject::connect(&search, &Operation::Finished, [&] { done = true; });
    search.Start();
    ASSERT_TRUE(test::WaitUntil([&] { return done; }, 10000));
    if (startup) {
      EXPECT_EQ(link.opened.size(), 2u);        // both ports
      EXPECT_EQ(backend.SendFailures(), 20);   // every probe of both, each refused and reported
    } else {
      EXPECT_EQ(link.opened.size(), 1u);
      EXPECT_EQ(backend.SendFailures(), 1);
    }
    EXPECT_FALSE(backend.LinkOpen());
    EXPECT_FALSE(backend.SearchRunning());
  }
}

}  // namespace
}  // namespace k7310
