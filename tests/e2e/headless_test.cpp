// The device backend without a window: in a QCoreApplication it finds the units on a simulator's pseudo-terminal,
// connects, polls, and notices a unit that falls silent, with the bytes and times the window's tests see.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "device/backend/device_search.h"
#include "link/device_backend.h"
#include "link/serial_link.h"
#include "protocol/catalogue.h"
#include "tests/support/sim_process.h"

#ifdef QT_WIDGETS_LIB
#error "the headless backend test must not link Qt Widgets"
#endif

namespace k7310::test {
namespace {

QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "test_e2e_headless";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

TEST(Headless, FindsConnectsPollsAndNoticesASilentUnit) {
  App();
  Sim sim({"--ids", "1,3"});
  ASSERT_EQ(sim.paths.size(), 1);
  const QString port = sim.paths[0];

  SerialLink serial;
  DeviceBackend backend;
  backend.SetSerialLink(&serial);
  backend.Ports().source = [port] { return QStringList{port}; };
  backend.Start();

  // The start-up sweep: IDs 1..10, half a second apart (timed where they leave the program).
  QElapsedTimer sendClock;
  sendClock.start();
  std::vector<qint64> sentAt;
  QObject::connect(&backend, &DeviceBackend::Sent, [&] { sentAt.push_back(sendClock.elapsed()); });
  SearchHits hits;
  StartupSweep sweep(backend, hits);
  bool swept = false;
  QObject::connect(&sweep, &Operation::Finished, [&](bool completed) { swept = completed; });
  sweep.Arm([] { return false; });
  ASSERT_TRUE(WaitUntil([&] { return swept; }, 15000));
  const int key = backend.Ports().PortNumbers().at(0);
  for (int j = 0; j <= 10; ++j) EXPECT_EQ(hits.IsHit(key, j), j == 0 || j == 2) << j;
  EXPECT_FALSE(backend.LinkOpen());
  auto rx = sim.Received();
  ASSERT_EQ(rx.size(), 10u);
  for (std::size_t j = 0; j < rx.size(); ++j) EXPECT_EQ(rx[j].hex, ToHexText(QueryStatus(static_cast<std::uint8_t>(j)))) << j;
  ASSERT_EQ(sentAt.size(), 10u);
  for (std::size_t j = 1; j < sentAt.size(); ++j) EXPECT_GE(sentAt[j] - sentAt[j - 1], 499) << j;
  sentAt.clear();

  // Connect to ID 3: block, names, then the settings query and the polls.
  std::vector<ConnectionState> states;
  QObject::connect(&backend, &DeviceBackend::StateChanged, [&](ConnectionState s) { states.push_back(s); });
  int statusReplies = 0;
  QObject::connect(&backend, &DeviceBackend::StatusReceived, [&] { ++statusReplies; });
  backend.Session().DeviceIndex = 2;
  backend.Ports().Select(0);
  ASSERT_TRUE(backend.OpenForConnect());
  backend.StartHandshake();
  backend.MarkConnected();
  ASSERT_TRUE(WaitUntil([&] { return statusReplies >= 2; }, 5000));
  EXPECT_EQ(states, (std::vector<ConnectionState>{ConnectionState::Connecting, ConnectionState::Connected}));
  rx = sim.Received();
  ASSERT_GE(rx.size(), 14u);
  EXPECT_EQ(rx[10].hex, ToHexText(QueryCurrentBlock(2)));
  EXPECT_EQ(rx[11].hex, ToHexText(QueryGroupNames(2)));
  EXPECT_EQ(rx[12].hex, ToHexText(QueryDeviceSettings(2)));
  EXPECT_EQ(rx[13].hex, ToHexText(QueryStatus(2)));
  for (std::size_t i = 14; i < rx.size(); ++i) EXPECT_EQ(rx[i].hex, ToHexText(QueryStatus(2))) << i;
  // Block query, names query, the settings query the names reply queued, then polls every 500 ms. The poll timer
  // keeps its beat: a tick that came late is followed by one that comes early, so one gap may be shorter.
  ASSERT_GE(sentAt.size(), 5u);
  EXPECT_GE(sentAt[3] - sentAt[2], 799);  // 300 ms resume, then a full poll interval
  for (std::size_t i = 4; i < sentAt.size(); ++i) EXPECT_GE(sentAt[i] - sentAt[i - 1], 450) << i;

  // The unit falls silent: 2000 ms after the first unanswered poll, the backend ends the link.
  bool ended = false;
  QObject::connect(&backend, &DeviceBackend::LinkEnded, [&](LinkEnd why, bool was) {
    ended = why == LinkEnd::NoAnswer && was;
  });
  QElapsedTimer clock;
  clock.start();
  sim.Command("silent 3");
  ASSERT_TRUE(WaitUntil([&] { return ended; }, 5000));
  EXPECT_GE(clock.elapsed(), 1900);
  EXPECT_LE(clock.elapsed(), 3500);
  EXPECT_EQ(backend.State(), ConnectionState::Disconnected);
  EXPECT_FALSE(backend.LinkOpen());
  EXPECT_FALSE(serial.IsOpen());
  EXPECT_EQ(backend.SendFailures(), 0);
}

}  // namespace
}  // namespace k7310::test
