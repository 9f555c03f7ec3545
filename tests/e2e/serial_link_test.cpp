// The serial link against the simulator's pseudo-terminal: the port list, the receive handshake, a hang-up.
#include "tests/e2e/rig.h"

#include <QElapsedTimer>
#include <QFile>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include "link/serial_link.h"
#include "protocol/catalogue.h"

namespace k7310::test {
namespace {

TEST(SerialLink, PortListKeepsOnlyCharacterDevicesAndNeverTheConsole) {
  App();
  Sim sim({"--ids", "1"});
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("not-a-port"));
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  QStringList extra{file, sim.paths[0], dir.filePath(QStringLiteral("missing"))};
  extra << ConsoleDevicePaths();
  const QStringList ports = ListSerialPorts(extra);
  EXPECT_TRUE(ports.contains(sim.paths[0]));
  EXPECT_FALSE(ports.contains(file));
  for (const QString& console : ConsoleDevicePaths()) EXPECT_FALSE(ports.contains(console)) << console.toStdString();
  QStringList sorted = ports;
  std::sort(sorted.begin(), sorted.end(),
            [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
  EXPECT_EQ(ports, sorted);
}

TEST(SerialLink, ReadsArriveAsUpperCaseHexAtMost1024BytesAndOneAtATime) {
  App();
  Sim sim({"--ids", "1"});
  SerialLink link;
  ASSERT_TRUE(link.Open(sim.paths[0]));
  std::vector<std::string> reads;
  std::vector<qint64> at;
  QElapsedTimer clock;
  clock.start();
  QObject::connect(&link, &Link::Arrived, [&](const std::string& hex) {
    reads.push_back(hex);
    at.push_back(clock.elapsed());
  });
  link.Write(QueryGroupNames(0));  // 412 bytes back, about 430 ms at 9600 baud
  ASSERT_TRUE(WaitUntil([&] {
    std::size_t n = 0;
    for (const auto& r : reads) n += r.size();
    return n >= 824;
  }, 3000));
  std::string all;
  for (const auto& r : reads) {
    EXPECT_EQ(r.size() % 2, 0u);
    EXPECT_LE(r.size(), 2048u);
    EXPECT_EQ(r.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    all += r;
  }
  EXPECT_EQ(all.size(), 824u);
  EXPECT_EQ(all.substr(0, 14), "A5A5A500520026");
  // The line's pace spreads the reply over several reads, each at least the 50 ms pause after the last.
  ASSERT_GE(reads.size(), 3u);
  for (std::size_t i = 1; i < at.size(); ++i) EXPECT_GE(at[i] - at[i - 1], 45) << i;
}

// A burst longer than one read: every read takes at most 1024 bytes, nothing is lost, the order holds.
TEST(SerialLink, ALongBurstArrivesIn1024ByteReads) {
  App();
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const QString path = QString::fromLatin1(ptsname(master));
  termios raw{};
  ASSERT_EQ(tcgetattr(master, &raw), 0);
  cfmakeraw(&raw);
  ASSERT_EQ(tcsetattr(master, TCSANOW, &raw), 0);

  SerialLink link;
  ASSERT_TRUE(link.Open(path));
  std::vector<std::string> reads;
  QObject::connect(&link, &Link::Arrived, [&](const std::string& hex) { reads.push_back(hex); });
  std::string sent;
  std::vector<std::uint8_t> burst(3000);
  for (std::size_t i = 0; i < burst.size(); ++i) burst[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
  ASSERT_EQ(::write(master, burst.data(), burst.size()), static_cast<ssize_t>(burst.size()));
  const std::string expected = ToHexText(burst);
  ASSERT_TRUE(WaitUntil([&] {
    std::size_t n = 0;
    for (const auto& r : reads) n += r.size();
    return n >= expected.size();
  }, 5000));
  std::string all;
  for (const auto& r : reads) {
    EXPECT_LE(r.size(), 2048u);
    all += r;
  }
  EXPECT_EQ(all, expected);
  EXPECT_GE(reads.size(), 3u);
  link.Close();
  ::close(master);
}

TEST(SerialLink, HangUpIsReportedOnceAndClosesThePort) {
  App();
  Sim sim({"--ids", "1"});
  SerialLink link;
  ASSERT_TRUE(link.Open(sim.paths[0]));
  int vanished = 0;
  QObject::connect(&link, &Link::Vanished, [&] { ++vanished; });
  sim.Command("hangup");
  ASSERT_TRUE(WaitUntil([&] { return vanished > 0; }, 3000));
  Pump(300);
  EXPECT_EQ(vanished, 1);
  EXPECT_FALSE(link.IsOpen());
  EXPECT_FALSE(link.Write(QueryStatus(0)));  // a closed port takes nothing, and says so
  EXPECT_FALSE(link.Open(sim.paths[0]));
}

}  // namespace
}  // namespace k7310::test
