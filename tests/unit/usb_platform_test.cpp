// The HID library platform against the simulated USB library: the devices present at the start reach the owner
// from its event loop, plugging and unplugging is noticed, input reports and read errors arrive on the owner's
// thread, a close joins the reader before the device is closed, every thread ends with the platform, and errors
// carry the system's error number. Waits have generous limits; nothing here times the platform.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>

#include "link/hidapi_platform.h"
#include "link/usb_link.h"
#include "protocol/catalogue.h"
#include "sim/hidapi/sim_usb_control.h"
#include "tests/support/sim_process.h"

namespace k7310 {
namespace {

namespace usb = sim::usb;

constexpr int kLimitMs = 10000;

QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "test_usb_platform";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

int ThreadCount() {
  return static_cast<int>(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

bool OnOwnerThread() { return QThread::currentThread() == App().thread(); }

const UsbDeviceInfo kMouse{"sim-usb:mouse", 0x046D, 0xC077, "USB Optical Mouse", ""};

// What the platform told, in order, and whether each signal came on the owner's thread.
struct Recorder {
  explicit Recorder(UsbPlatform& p) {
    QObject::connect(&p, &UsbPlatform::DevicesChanged,
                     [this](const std::vector<UsbDeviceInfo>& a, const std::vector<UsbDeviceInfo>& r,
                            const std::vector<UsbDeviceInfo>& present) {
                       onOwner = onOwner && OnOwnerThread();
                       for (const auto& d : a) log.push_back("arrived " + d.path);
                       for (const auto& d : r) log.push_back("removed " + d.path);
                       last = present;
                       ++changes;
                     });
    QObject::connect(&p, &UsbPlatform::ReportRead, [this](const QByteArray& data) {
      onOwner = onOwner && OnOwnerThread();
      reports.push_back(data);
    });
    QObject::connect(&p, &UsbPlatform::ReadFailed, [this](const UsbError& e) {
      onOwner = onOwner && OnOwnerThread();
      readErrors.push_back(e);
    });
  }
  bool Saw(const std::string& line) const { return std::find(log.begin(), log.end(), line) != log.end(); }

  std::vector<std::string> log;
  std::vector<UsbDeviceInfo> last;
  int changes = 0;
  std::vector<QByteArray> reports;
  std::vector<UsbError> readErrors;
  bool onOwner = true;
};

class Platform : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    usb::Reset(1);
  }
};

TEST_F(Platform, DevicesPresentAtTheStartArriveFromTheEventLoopBeforeAnyTimer) {
  usb::Plug(true);
  usb::SetOtherDevices({kMouse});
  HidapiPlatform platform;
  UsbLink link(platform);
  Recorder rec(platform);
  std::vector<std::string> order;
  QObject::connect(&link, &UsbLink::DevicesListed, [&] {
    if (order.empty()) order.push_back(link.UseHid() ? "processor taken" : "listed without the processor");
  });
  link.Start();
  QTimer::singleShot(10, [&] { order.push_back("timer"); });
  EXPECT_EQ(rec.changes, 0);  // not inside Start
  ASSERT_TRUE(test::WaitUntil([&] { return order.size() >= 2; }, kLimitMs));
  EXPECT_EQ(order, (std::vector<std::string>{"processor taken", "timer"}));
  EXPECT_EQ(rec.log, (std::vector<std::string>{std::string("arrived ") + usb::kProcessorPath, "arrived sim-usb:mouse"}));
  EXPECT_EQ(link.DeviceNames(), (std::vector<std::string>{kUsbProcessorName, "USB Optical Mouse"}));
  EXPECT_EQ(usb::OpenHandles(), 1);
  EXPECT_TRUE(rec.onOwner);
}

TEST_F(Platform, PlugAndUnplugAreNoticedAndTheReadersEnd) {
  const int threadsBefore = ThreadCount();
  {
    HidapiPlatform platform;
    Recorder rec(platform);
    platform.Start();
    ASSERT_TRUE(test::WaitUntil([&] { return rec.changes == 1; }, kLimitMs));
    EXPECT_TRUE(rec.last.empty());

    usb::Plug(true);
    ASSERT_TRUE(test::WaitUntil([&] { return rec.Saw(std::string("arrived ") + usb::kProcessorPath); }, kLimitMs));
    UsbError error;
    ASSERT_TRUE(platform.Open(usb::kProcessorPath, error)) << error.message;
    EXPECT_TRUE(platform.IsOpen());
    EXPECT_EQ(ThreadCount(), threadsBefore + 2);  // the watcher and the reader

    usb::Plug(false);
    ASSERT_TRUE(test::WaitUntil([&] { return rec.Saw(std::string("removed ") + usb::kProcessorPath); }, kLimitMs));
    // The reader of the dead handle fails again and again, and tells it once.
    ASSERT_TRUE(test::WaitUntil([&] { return !rec.readErrors.empty(); }, kLimitMs));
    test::Pump(600);
    ASSERT_EQ(rec.readErrors.size(), 1u);
    EXPECT_EQ(rec.readErrors[0].code, ENODEV);
    EXPECT_EQ(rec.readErrors[0].message, std::strerror(ENODEV));

    platform.Close();
    // The reader was joined before the device was closed: no read waits inside the library, no handle is open.
    EXPECT_EQ(usb::WaitingReads(), 0);
    EXPECT_EQ(usb::OpenHandles(), 0);
    EXPECT_FALSE(platform.IsOpen());
    EXPECT_TRUE(test::WaitUntil([&] { return ThreadCount() == threadsBefore + 1; }, kLimitMs));
    EXPECT_TRUE(rec.onOwner);
  }
  EXPECT_TRUE(test::WaitUntil([&] { return ThreadCount() == threadsBefore; }, kLimitMs));
}

TEST_F(Platform, ReportsAndReadErrorsArriveOnTheOwnersThread) {
  usb::Plug(true);
  const int threadsBefore = ThreadCount();
  HidapiPlatform platform;
  Recorder rec(platform);
  UsbError error;
  ASSERT_TRUE(platform.Open(usb::kProcessorPath, error)) << error.message;

  UsbReport report{};
  StageFrame(report, QueryStatus(0));
  ASSERT_TRUE(platform.Write(report, error)) << error.message;
  EXPECT_EQ(usb::WrittenReports().back(), std::vector<std::uint8_t>(report.begin(), report.end()));
  UsbReassembly assembly;
  std::optional<std::string> reply;
  ASSERT_TRUE(test::WaitUntil(
      [&] {
        while (!reply && !rec.reports.empty()) {
          const QByteArray r = rec.reports.front();
          rec.reports.erase(rec.reports.begin());
          EXPECT_EQ(r.size(), 64);
          reply = assembly.Take(std::span(reinterpret_cast<const std::uint8_t*>(r.constData()),
                                          static_cast<std::size_t>(r.size())));
        }
        return reply.has_value();
      },
      kLimitMs));
  EXPECT_EQ(reply->substr(0, 20), "A5A5A50052002B000008");
  EXPECT_EQ(reply->size(), 40u);

  usb::InjectReadError(EIO);
  ASSERT_TRUE(test::WaitUntil([&] { return !rec.readErrors.empty(); }, kLimitMs));
  EXPECT_EQ(rec.readErrors[0].code, EIO);
  // The reader goes on after the error.
  ASSERT_TRUE(platform.Write(report, error));
  ASSERT_TRUE(test::WaitUntil([&] { return rec.reports.size() >= 2; }, kLimitMs));
  EXPECT_EQ(rec.readErrors.size(), 1u);
  EXPECT_TRUE(rec.onOwner);

  // Reports still on their way when the device closes are dropped.
  // (The owner sleeps without its event loop, so the reader's reports wait in the queue.)
  const std::size_t seen = rec.reports.size();
  ASSERT_TRUE(platform.Write(report, error));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  platform.Close();
  test::Pump(200);
  EXPECT_EQ(rec.reports.size(), seen);
  EXPECT_TRUE(test::WaitUntil([&] { return ThreadCount() == threadsBefore; }, kLimitMs));
}

TEST_F(Platform, OpenAndWriteErrorsCarryTheErrorNumber) {
  usb::Plug(true);
  HidapiPlatform platform;
  UsbError error;
  usb::RefuseOpen(true);
  EXPECT_FALSE(platform.Open(usb::kProcessorPath, error));
  EXPECT_EQ(error.code, EACCES);
  EXPECT_EQ(error.message, std::strerror(EACCES));
  usb::RefuseOpen(false);
  ASSERT_TRUE(platform.Open(usb::kProcessorPath, error)) << error.message;

  UsbReport report{};
  StageFrame(report, QueryStatus(0));
  usb::FailNextWrites(1, EPIPE);
  EXPECT_FALSE(platform.Write(report, error));
  EXPECT_EQ(error.code, EPIPE);
  EXPECT_EQ(error.message, std::strerror(EPIPE));
  EXPECT_TRUE(platform.Write(report, error));

  usb::Plug(false);
  EXPECT_FALSE(platform.Write(report, error));
  EXPECT_EQ(error.code, ENODEV);
  platform.Close();
  EXPECT_FALSE(platform.Write(report, error));
  EXPECT_EQ(error.code, ENODEV);
}

}  // namespace
}  // namespace k7310
