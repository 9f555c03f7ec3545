// The USB link against a scripted platform, alone and under the device backend: the device list and which device
// is taken, the order of arrival, removal and change effects, the output reports (frames with what earlier frames
// left behind them, the six reports of a group upload body), the reassembly of replies for the parser, errors, and
// the hold while the serial link is in use. Qt Core only.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <algorithm>

#include "link/device_backend.h"
#include "link/usb_link.h"
#include "protocol/catalogue.h"
#include "tests/support/fake_link.h"
#include "tests/support/fake_usb_platform.h"
#include "tests/unit/protocol_fixtures.h"

#ifdef QT_WIDGETS_LIB
#error "the USB link's tests must not link Qt Widgets"
#endif

namespace k7310 {
namespace {

QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "test_usb_link";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

const UsbDeviceInfo kMouse = test::OtherDevice("hid:mouse", "USB Optical Mouse");
const UsbDeviceInfo kKeyboard = test::OtherDevice("hid:keyboard", "Keyboard", 0x413C, 0x2113, "K1");
const UsbDeviceInfo kProcessor = test::ProcessorDevice();

// A reply as the processor sends it on USB: a header report that starts with the frame (only its first ten bytes
// count), then the bytes from frame byte 10 on in reports of 64.
std::vector<Bytes> ReplyReports(const Bytes& frame) {
  std::vector<Bytes> reports{Bytes(frame.begin(), frame.begin() + std::min<std::size_t>(frame.size(), 64))};
  for (std::size_t i = 10; i < frame.size(); i += kUsbReportDataSize)
    reports.emplace_back(frame.begin() + static_cast<std::ptrdiff_t>(i),
                         frame.begin() + static_cast<std::ptrdiff_t>(std::min(i + kUsbReportDataSize, frame.size())));
  return reports;
}

Bytes StatusFrame(int attenuation) {
  const Bytes payload{0, 0, 0x10, 0x02, static_cast<std::uint8_t>(attenuation), 0, 0, 0};
  return BuildFrame(0, 0x52, 0, area::kStatus, 0, payload);
}

Bytes NeutralBlock() {
  Bytes b;
  EXPECT_TRUE(ParseHexText(test::NeutralBlockText(), b));
  return b;
}

Bytes ReportData(const UsbReport& r, std::size_t from, std::size_t to) {
  return Bytes(r.begin() + static_cast<std::ptrdiff_t>(from), r.begin() + static_cast<std::ptrdiff_t>(to));
}

// --- The device list -------------------------------------------------------------------------------------------

TEST(UsbDeviceList, OnlyTheDeviceNamedAsTheProcessorIsTaken) {
  App();
  const UsbDeviceInfo otherSerial{"hid:b", kUsbVendorId, kUsbProductId, kUsbProduct, "0000003"};
  const UsbDeviceInfo noProduct{"hid:c", kUsbVendorId, kUsbProductId, "", kUsbSerial};
  const UsbDeviceInfo bare{"hid:d", 0x0ABC, 0xBEEF, "", ""};
  const struct {
    const char* what;
    std::vector<UsbDeviceInfo> devices;
    std::vector<std::string> names;
    int index;
  } cases[] = {
      {"nothing", {}, {}, kNoUsbEntry},
      {"another serial number", {otherSerial}, {"DEVADUVORARAZ01 (Serial=0000003)"}, kNoUsbEntry},
      {"no product string",
       {noProduct, bare},
       {"Device VID=0483 PID=5750 (Serial=0000002)", "Device VID=0ABC PID=BEEF"},
       kNoUsbEntry},
      {"the processor third",
       {kMouse, otherSerial, kProcessor},
       {"USB Optical Mouse", "DEVADUVORARAZ01 (Serial=0000003)", "DEVADUVORARAZ01 (Serial=0000002)"},
       2},
  };
  for (const auto& c : cases) {
    test::FakeUsbPlatform platform;
    UsbLink usb(platform);
    platform.SetDevices(c.devices);
    EXPECT_EQ(usb.DeviceNames(), c.names) << c.what;
    EXPECT_EQ(usb.HidListIndex(), c.index) << c.what;
    const bool taken = c.index != kNoUsbEntry;
    EXPECT_EQ(usb.UseHid(), taken) << c.what;
    EXPECT_EQ(platform.opens, taken ? std::vector<std::string>{kProcessor.path} : std::vector<std::string>{})
        << c.what;
  }
}

TEST(UsbDeviceList, ArrivalRemovalAndChangeKeepTheirOrderAndTheHandle) {
  App();
  test::FakeUsbPlatform platform;
  UsbLink usb(platform);
  std::vector<std::string> log;
  QObject::connect(&usb, &UsbLink::History, [&](const QString& line) { log.push_back(line.toStdString()); });
  QObject::connect(&usb, &UsbLink::DevicesListed, [&] { log.push_back("listed"); });
  QObject::connect(&usb, &UsbLink::ProcessorArrived, [&] { log.push_back("processor arrived"); });
  QObject::connect(&usb, &UsbLink::ProcessorRemoved, [&] { log.push_back("processor removed"); });

  // The processor's arrival takes it at once; the change that follows keeps the handle.
  platform.SetDevices({kMouse, kProcessor});
  EXPECT_EQ(log, (std::vector<std::string>{"Arrival of USB Optical Mouse", "Arrival of DEVADUVORARAZ01 (Serial=0000002)",
                                           "listed", "processor arrived", "listed"}));
  EXPECT_TRUE(usb.UseHid());
  EXPECT_EQ(platform.opens.size(), 1u);

  // An unrelated device: listed anew, the processor's handle untouched.
  log.clear();
  platform.SetDevices({kKeyboard, kMouse, kProcessor});
  EXPECT_EQ(log, (std::vector<std::string>{"Arrival of Keyboard (Serial=K1)", "listed"}));
  EXPECT_EQ(usb.HidListIndex(), 2);
  EXPECT_EQ(platform.opens.size(), 1u);
  EXPECT_TRUE(platform.closes.empty());

  log.clear();
  platform.SetDevices({kKeyboard});
  EXPECT_EQ(log, (std::vector<std::string>{"Removal of USB Optical Mouse", "Removal of DEVADUVORARAZ01 (Serial=0000002)",
                                           "processor removed", "listed"}));
  EXPECT_EQ(platform.closes, std::vector<std::string>{kProcessor.path});
  EXPECT_FALSE(usb.UseHid());
  EXPECT_FALSE(usb.HasDevice());
  EXPECT_EQ(usb.HidListIndex(), kNoUsbEntry);

  // Back under another path: taken there.
  platform.SetDevices({kKeyboard, test::ProcessorDevice("hid:again")});
  EXPECT_EQ(platform.opens.back(), "hid:again");
  EXPECT_TRUE(usb.UseHid());
}

// --- Under the backend -----------------------------------------------------------------------------------------

class UsbBackend : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    backend.SetSerialLink(&serial);
    backend.SetUsbLink(&usb);
    backend.Ports().source = [] { return QStringList{QStringLiteral("/fake/ttyUSB0")}; };
    backend.Ports().present = [](const QString&) { return true; };
    backend.Start();
    QObject::connect(&usb, &UsbLink::History, [this](const QString& line) { history.push_back(line.toStdString()); });
    QObject::connect(&usb, &Link::Arrived, [this](const std::string& hex) { arrived.push_back(hex); });
    QObject::connect(&usb, &UsbLink::ProcessorRemoved, [this] { log.push_back("processor removed"); });
    QObject::connect(&backend, &DeviceBackend::LinkEnded, [this](LinkEnd why, bool was) {
      log.push_back(std::string(why == LinkEnd::DeviceRemoved ? "ended: removed" : "ended: other") +
                    (was ? " connected" : ""));
    });
    QObject::connect(&backend, &DeviceBackend::Disconnecting, [this](bool) { log.push_back("disconnecting"); });
    QObject::connect(&backend, &DeviceBackend::Disconnected, [this](bool) { log.push_back("disconnected"); });
  }
  void Connect() {
    ASSERT_TRUE(backend.OpenForConnect());
    backend.StartHandshake();
    backend.MarkConnected();
  }
  void Deliver(const Bytes& frame) {
    for (const Bytes& r : ReplyReports(frame)) platform.Deliver(r);
  }
  std::size_t Count(const std::string& prefix) const {
    return static_cast<std::size_t>(std::count_if(history.begin(), history.end(),
                                                  [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
  }

  test::FakeLink serial;
  test::FakeUsbPlatform platform;
  UsbLink usb{platform};
  DeviceBackend backend;
  std::vector<std::string> history;
  std::vector<std::string> arrived;
  std::vector<std::string> log;
};

TEST_F(UsbBackend, ConnectUsesTheTakenDeviceAndDisconnectKeepsIt) {
  platform.SetDevices({kProcessor});
  ASSERT_TRUE(backend.UsbInUse());
  Connect();
  EXPECT_TRUE(serial.opened.empty());  // no serial port is opened
  EXPECT_EQ(backend.Ports().PortNumber, kPortHid);
  EXPECT_TRUE(usb.IsOpen());
  ASSERT_EQ(platform.written.size(), 1u);
  const UsbReport& query = platform.written[0];
  EXPECT_EQ(query[0], 0);
  EXPECT_EQ(ReportData(query, 1, 13), QueryCurrentBlock(0));
  // The history shows every byte of the report: "W 00", two blanks, 64 bytes each with a blank.
  EXPECT_EQ(history.back().substr(0, 42), "W 00  A5 A5 A5 00 A2 00 28 00 00 00 8A AA ");
  EXPECT_EQ(history.back().size(), 6u + 64u * 3u);

  backend.Disconnect(true);
  EXPECT_FALSE(backend.LinkOpen());
  EXPECT_FALSE(usb.IsOpen());
  EXPECT_TRUE(usb.UseHid());
  EXPECT_TRUE(platform.closes.empty());
  Connect();
  EXPECT_EQ(platform.opens.size(), 1u);
  EXPECT_EQ(platform.written.size(), 2u);
}

TEST_F(UsbBackend, AReportKeepsWhatTheEarlierFrameLeftBehindTheNewOne) {
  platform.SetDevices({kProcessor});
  Connect();
  const Bytes longFrame = BuildFrame(0, 0xA1, 0, 0x10, 0, Bytes(20, 0x11));  // 32 bytes
  ASSERT_TRUE(backend.TransmitCurrent(longFrame));
  ASSERT_TRUE(backend.TransmitCurrent(QueryStatus(0)));
  const UsbReport& r = platform.written.back();
  EXPECT_EQ(ReportData(r, 1, 13), QueryStatus(0));
  EXPECT_EQ(ReportData(r, 13, 33), Bytes(longFrame.begin() + 12, longFrame.end()));
  EXPECT_EQ(ReportData(r, 33, 65), Bytes(32, 0));
  EXPECT_EQ(backend.HidReport(), r);
}

TEST_F(UsbBackend, RepliesAreReassembledForTheParser) {
  int status = -1;
  int applied = 0;
  QObject::connect(&backend, &DeviceBackend::StatusReceived, [&](const StatusReply& s) { status = s.attenuationDb; });
  QObject::connect(&backend, &DeviceBackend::ModelApplied, [&] { ++applied; });
  platform.SetDevices({kProcessor});
  Connect();

  // A first report without the sync is dropped.
  platform.Deliver(Bytes{0x12, 0x34, 0x56});
  EXPECT_TRUE(arrived.empty());
  EXPECT_FALSE(usb.Assembly().Collecting());

  // A status reply: 20 header characters and 8 x 2 + 4 from the data report.
  Deliver(StatusFrame(7));
  ASSERT_EQ(arrived.size(), 1u);
  EXPECT_EQ(arrived[0], ToHexText(StatusFrame(7)));
  EXPECT_EQ(arrived[0].size(), 40u);
  EXPECT_EQ(status, 7);

  // A group block: five whole data reports and four characters of the sixth, 664 in all. The connect goes on.
  const Bytes block = NeutralBlock();
  const auto reports = ReplyReports(block);
  ASSERT_EQ(reports.size(), 7u);
  for (std::size_t i = 0; i + 1 < reports.size(); ++i) platform.Deliver(reports[i]);
  EXPECT_EQ(arrived.size(), 1u);
  EXPECT_EQ(usb.Assembly().Pieces(), 5);
  platform.Deliver(reports.back());
  ASSERT_EQ(arrived.size(), 2u);
  EXPECT_EQ(arrived[1], test::NeutralBlockText());
  EXPECT_EQ(applied, 1);
  EXPECT_EQ(ReportData(platform.written.back(), 1, 13), QueryGroupNames(0));
}

TEST_F(UsbBackend, EveryReceptionEndsAPartlyAssembledReply) {
  platform.SetDevices({kProcessor});
  Connect();
  const auto reports = ReplyReports(NeutralBlock());
  platform.Deliver(reports[0]);
  platform.Deliver(reports[1]);
  ASSERT_TRUE(usb.Assembly().Collecting());
  backend.Receive(ToHexText(StatusFrame(3)));
  EXPECT_FALSE(usb.Assembly().Collecting());
  EXPECT_TRUE(usb.Assembly().Text().empty());
  // The rest of the interrupted reply has no sync: dropped, report by report.
  for (std::size_t i = 2; i < reports.size(); ++i) platform.Deliver(reports[i]);
  EXPECT_TRUE(arrived.empty());
}

TEST_F(UsbBackend, RemovalWhileLinkedWarnsFirstThenDisconnects) {
  platform.SetDevices({kMouse, kProcessor});
  Connect();
  platform.SetDevices({kMouse});
  EXPECT_EQ(log, (std::vector<std::string>{"ended: removed connected", "disconnecting", "disconnected",
                                           "processor removed"}));
  EXPECT_EQ(backend.State(), ConnectionState::Disconnected);
  EXPECT_FALSE(backend.LinkOpen());
  EXPECT_FALSE(backend.UsbInUse());
  EXPECT_EQ(platform.closes.size(), 1u);

  // Unplugged while not linked: nothing to end.
  log.clear();
  platform.SetDevices({kMouse, kProcessor});
  platform.SetDevices({kMouse});
  EXPECT_EQ(log, std::vector<std::string>{"processor removed"});
}

TEST_F(UsbBackend, WriteAndReadErrorsAreOnlyLogged) {
  platform.SetDevices({kProcessor});
  Connect();
  platform.writeResults = {UsbError{110, "Connection timed out"}};
  EXPECT_FALSE(backend.TransmitCurrent(QueryStatus(0)));
  EXPECT_EQ(history.back(), "WRITE ERROR: Connection timed out (6E)");
  EXPECT_EQ(backend.SendFailures(), 1);
  platform.FailRead({5, "Input/output error"});
  EXPECT_EQ(history.back(), "READ ERROR: Input/output error (5)");
  // The link stays as it was; the next frame goes out.
  EXPECT_TRUE(backend.LinkOpen());
  EXPECT_EQ(backend.State(), ConnectionState::Connecting);
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(backend.TransmitCurrent(QueryStatus(0)));
  EXPECT_EQ(history.back().substr(0, 6), "W 00  ");
}

TEST_F(UsbBackend, AnUploadBodyGoesAsSixReportsAndStopsAtAFailedWrite) {
  std::array<std::uint8_t, kUsbBlockBodySize> body{};
  for (std::size_t i = 0; i < 320; ++i) body[i] = static_cast<std::uint8_t>(i * 7 + 1);
  body[320] = 0x5C;
  body[321] = 0xAA;
  platform.SetDevices({kProcessor});
  Connect();
  const std::size_t before = platform.written.size();
  ASSERT_TRUE(backend.TransmitBlockBody(body));
  ASSERT_EQ(platform.written.size(), before + 6);
  for (std::size_t k = 0; k < 5; ++k) {
    const UsbReport& r = platform.written[before + k];
    EXPECT_EQ(r[0], 0) << k;
    EXPECT_EQ(ReportData(r, 1, 65), Bytes(body.begin() + 64 * k, body.begin() + 64 * (k + 1))) << k;
  }
  const UsbReport& sixth = platform.written[before + 5];
  EXPECT_EQ(ReportData(sixth, 0, 3), (Bytes{0x00, 0x5C, 0xAA}));
  EXPECT_EQ(ReportData(sixth, 3, 65), Bytes(body.begin() + 256 + 2, body.begin() + 320));  // the fifth's leftovers
  EXPECT_EQ(backend.TxFrame(), Bytes(body.begin(), body.end()));
  EXPECT_EQ(Count("W 00  "), 1u + 6u);

  // The third report fails: logged, and nothing more is sent.
  platform.writeResults = {std::nullopt, std::nullopt, UsbError{5, "Input/output error"}};
  const std::size_t tried = platform.attempted.size();
  EXPECT_FALSE(backend.TransmitBlockBody(body));
  EXPECT_EQ(platform.attempted.size(), tried + 3);
  EXPECT_EQ(history.back(), "WRITE ERROR: Input/output error (5)");
  EXPECT_EQ(Count("W 00  "), 1u + 6u + 2u);

  // On the serial link the body is one write.
  platform.SetDevices({});
  Connect();
  ASSERT_TRUE(backend.TransmitBlockBody(body));
  EXPECT_EQ(serial.written.back(), ToHexText(body));
}

TEST_F(UsbBackend, ARefusedOpenIsLoggedEachTimeAndToldOnce) {
  std::vector<std::string> refused;
  QObject::connect(&usb, &UsbLink::OpenRefused,
                   [&](const QString& path, const UsbError& e) { refused.push_back(path.toStdString() + " " + e.message); });
  platform.refuseOpen = true;
  platform.SetDevices({kProcessor});
  EXPECT_GE(Count("OPEN ERROR: Permission denied (D)"), 1u);
  EXPECT_EQ(usb.HidListIndex(), 0);
  EXPECT_FALSE(usb.UseHid());
  const std::size_t errors = Count("OPEN ERROR: ");
  platform.SetDevices({kProcessor, kMouse});
  EXPECT_EQ(Count("OPEN ERROR: "), errors + 1);
  EXPECT_EQ(refused, std::vector<std::string>{"hid:processor Permission denied"});
  // The connect goes to the serial port.
  Connect();
  EXPECT_EQ(serial.opened.size(), 1u);
}

TEST_F(UsbBackend, TheUsbLinkIsHeldWhileTheSerialLinkIsOpenOrASearchRuns) {
  Connect();  // serial: nothing on USB yet
  ASSERT_EQ(serial.opened.size(), 1u);
  platform.SetDevices({kProcessor});
  EXPECT_EQ(usb.HidListIndex(), 0);  // listed
  EXPECT_TRUE(platform.opens.empty());
  EXPECT_FALSE(backend.UsbInUse());
  ASSERT_TRUE(backend.TransmitCurrent(QueryStatus(0)));
  EXPECT_EQ(serial.written.back(), ToHexText(QueryStatus(0)));
  // Its removal does not touch the serial link.
  platform.SetDevices({});
  EXPECT_TRUE(backend.LinkOpen());
  EXPECT_EQ(std::count(log.begin(), log.end(), "ended: removed connected"), 0);

  platform.SetDevices({kProcessor});
  backend.Disconnect(true);  // the hold ends: the device is taken
  EXPECT_EQ(platform.opens, std::vector<std::string>{kProcessor.path});
  EXPECT_TRUE(backend.UsbInUse());

  platform.SetDevices({});
  backend.SetSearchRunning(true);
  platform.SetDevices({kProcessor});
  EXPECT_FALSE(backend.UsbInUse());
  backend.SetSearchRunning(false);
  EXPECT_TRUE(backend.UsbInUse());
}

}  // namespace
}  // namespace k7310
