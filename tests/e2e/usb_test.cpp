// The program on USB: the real window, offscreen, with the processor simulated behind the simulated HID library
// (linked in place of the system's). The program's own HID code runs unchanged: its watcher lists the devices, its
// reader takes the input reports, its writes are the 65-byte buffers recorded here.
#include <gtest/gtest.h>

#include <QDir>

#include <memory>

#include "app/device_view.h"
#include "app/kit/ui_text.h"
#include "protocol/catalogue.h"
#include "sim/hidapi/sim_usb_control.h"
#include "tests/e2e/rig.h"
#include "texts/texts.h"

namespace k7310::test {
namespace {

using Report = std::vector<std::uint8_t>;
namespace usb = sim::usb;

const QString kProcessorName = QStringLiteral("DEVADUVORARAZ01 (Serial=0000002)");

// The USB link's threads running in this process now: the device watcher and the reader of a taken device.
int UsbThreads() {
  int n = 0;
  const QDir tasks(QStringLiteral("/proc/self/task"));
  for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    QFile comm(tasks.filePath(task + QStringLiteral("/comm")));
    if (comm.open(QIODevice::ReadOnly) && comm.readAll().startsWith("k7310-usb-")) ++n;
  }
  return n;
}

QStringList History(const TForm1& form) {
  QStringList lines;
  for (int i = 0; i < form.HistoryListBox->count(); ++i) lines << form.HistoryListBox->item(i)->text();
  return lines;
}

bool HistoryHas(const TForm1& form, const QString& line) { return History(form).contains(line); }

// The frame a report carries: its header's length says how far it reaches.
std::size_t FrameLength(const Report& r) {
  if (r.size() < 11) return 0;
  return std::min<std::size_t>(64, 12 + (static_cast<std::size_t>(r[9]) << 8 | r[10]));
}

bool StartsWithFrame(const Report& r, const Bytes& frame) {
  return r.size() == kUsbReportSize && r[0] == 0 && std::equal(frame.begin(), frame.end(), r.begin() + 1);
}

class UsbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    usb::Reset(1);
  }
  void TearDown() override {
    rig_.reset();
    // Every thread of the USB link is gone with the program's window.
    EXPECT_TRUE(WaitUntil([&] { return UsbThreads() == 0; }, 3000)) << UsbThreads() << " USB threads left";
    usb::Reset(1);
  }

  // The program starts with the processor plugged in (and no serial port): taken at once, no start-up sweep.
  Rig& StartTaken() {
    usb::Plug(true);
    rig_ = std::make_unique<Rig>(QStringList{});
    EXPECT_TRUE(WaitUntil([&] { return rig_->form.GroupBox1->isVisible(); }, 3000));
    EXPECT_TRUE(rig_->app.backend.UsbInUse());
    return *rig_;
  }
  void ConnectOverUsb(Rig& rig) {
    ASSERT_TRUE(WaitUntil([&] { return rig.form.GroupBox2->Button3->isEnabled(); }, 3000));
    rig.ConnectAndPoll();
    ASSERT_TRUE(rig.Connected());
  }

  std::unique_ptr<Rig> rig_;
};

TEST_F(UsbTest, TakenAtStartItConnectsWithoutAPortAndEveryFrameIsAWholeReport) {
  usb::WithBus([](sim::Bus& bus) {
    bus.Units()[0].FixTemperatureRaw(sim::kTempRawMax);
    bus.Units()[0].SetAttenuationDb(7);
  });
  Rig& rig = StartTaken();
  TForm1& f = rig.form;
  // No sweep: the window is shown at once, with the EQ box.
  EXPECT_TRUE(f.RzGroupBox3->isHidden());
  EXPECT_TRUE(f.RzGroupBox8->isVisible());
  ASSERT_EQ(f.DevListBox->count(), 1);
  EXPECT_EQ(f.DevListBox->item(0)->text(), kProcessorName);
  EXPECT_EQ(rig.app.usb.HidListIndex(), 0);
  EXPECT_EQ(f.lbl_usbhid->text(), QStringLiteral("已接上设备."));
  EXPECT_EQ(History(f).value(0), QStringLiteral("Arrival of ") + kProcessorName);
  EXPECT_FALSE(f.GroupBox2->RzComboBox1->isEnabled());
  EXPECT_FALSE(f.GroupBox2->RzComboBox6->isEnabled());

  ConnectOverUsb(rig);
  EXPECT_EQ(rig.app.backend.Ports().PortNumber, kPortHid);
  EXPECT_TRUE(WaitUntil([&] { return f.GroupBox3->RzLabel32->text() == QStringLiteral("7 dB"); }, 3000));
  EXPECT_EQ(f.GroupBox3->RzLabel29->text(), TemperatureReadout(30));
  EXPECT_EQ(f.GroupBox3->RzLabel29->text(), QStringLiteral("<=10 °C"));
  EXPECT_GT(f.GroupBox2->RzGroupBox4->RzComboBox10->count(), 0) << "the names came back whole";

  const auto reports = usb::WrittenReports();
  ASSERT_GE(reports.size(), 3u);
  EXPECT_TRUE(StartsWithFrame(reports[0], QueryCurrentBlock(0)));
  EXPECT_TRUE(StartsWithFrame(reports[1], QueryGroupNames(0)));
  EXPECT_TRUE(StartsWithFrame(reports.back(), QueryStatus(0)));
  for (const Report& r : reports) ASSERT_EQ(r.size(), kUsbReportSize);
  // Every report is logged as written.
  UsbReport first{};
  std::copy(reports[0].begin(), reports[0].end(), first.begin());
  EXPECT_TRUE(HistoryHas(f, QString::fromStdString(WrittenReportLine(first))));
}

TEST_F(UsbTest, AChannelEditLeavesAsAReportAndTheNextFrameKeepsItsTail) {
  Rig& rig = StartTaken();
  ConnectOverUsb(rig);
  usb::ClearWrittenReports();
  rig.form.GroupBox1->RzButton52->click();  // Mid mute
  const Bytes mute = WriteChannelSettings(rig.app.backend.Session().model, 0, 1);
  ASSERT_EQ(mute.size(), 20u);
  std::size_t at = 0;
  ASSERT_TRUE(WaitUntil(
      [&] {
        const auto reports = usb::WrittenReports();
        for (std::size_t i = 0; i + 1 < reports.size(); ++i)
          if (StartsWithFrame(reports[i], mute)) {
            at = i;
            return true;
          }
        return false;
      },
      3000))
      << "the mute frame and one frame after it";
  // Every report is the one before it with the new frame written over its front: behind a shorter frame, the
  // report still holds the longer frame's bytes.
  const auto shorterFollows = [&] {
    const auto r = usb::WrittenReports();
    for (std::size_t i = at + 1; i < r.size(); ++i)
      if (FrameLength(r[i]) < FrameLength(r[i - 1])) return true;
    return false;
  };
  ASSERT_TRUE(WaitUntil(shorterFollows, 3000)) << "a poll after the 20-byte frames";
  const auto reports = usb::WrittenReports();
  int shorterAfterLonger = 0;
  for (std::size_t i = 1; i < reports.size(); ++i) {
    const std::size_t n = FrameLength(reports[i]);
    EXPECT_TRUE(std::equal(reports[i].begin() + 1 + static_cast<std::ptrdiff_t>(n), reports[i].end(),
                           reports[i - 1].begin() + 1 + static_cast<std::ptrdiff_t>(n)))
        << "report " << i;
    if (n < FrameLength(reports[i - 1])) ++shorterAfterLonger;
  }
  EXPECT_GT(shorterAfterLonger, 0);
  // The unit took the frame.
  bool taken = false;
  usb::WithBus([&](sim::Bus& bus) {
    for (const sim::LogEntry& e : bus.Log())
      if (e.kind == sim::Traffic::Rx && e.bytes == mute) taken = true;
  });
  EXPECT_TRUE(taken);
}

TEST_F(UsbTest, AUnitUnderAnotherIdAnswersShowsItsIdAndTakesAnUploadInSevenReports) {
  usb::Reset(4);
  Rig& rig = StartTaken();
  TForm1& f = rig.form;
  ConnectOverUsb(rig);
  // Alone on its link, the unit answers the index it is asked under; its settings reply names its own ID, which the
  // device-ID list and the ID edit then show. The window goes on asking under the index it has.
  ASSERT_TRUE(WaitUntil([&] { return f.GroupBox2->RzComboBox6->currentIndex() == 3; }, 3000));
  EXPECT_EQ(f.GroupBox2->RzEdit2->text(), QStringLiteral("4"));
  EXPECT_EQ(rig.app.backend.Session().DeviceIndex, 0);

  // A group upload: the header as one report, then the body as six, the last with the checksum and the end byte.
  DeviceBackend& backend = rig.app.backend;
  backend.Timer(TimerId::Timer1).SetEnabled(false);
  backend.Timer(TimerId::sendTimer).SetEnabled(false);
  Pump(400);  // a send under way ends
  const sim::GroupPayload group = sim::DefaultStoredGroup(7);
  const Bytes frame = BuildFrame(0, frame_type::kWrite, 0, area::kActiveGroup, 0, group);
  usb::ClearWrittenReports();
  ASSERT_TRUE(backend.TransmitCurrent(Bytes(frame.begin(), frame.begin() + kHeaderSize)));
  DeviceBackend::Wait(100);
  ASSERT_TRUE(backend.TransmitBlockBody(std::span<const std::uint8_t, kUsbBlockBodySize>(frame.data() + kHeaderSize, kUsbBlockBodySize)));
  const auto reports = usb::WrittenReports();
  ASSERT_EQ(reports.size(), 7u);
  EXPECT_TRUE(StartsWithFrame(reports[1], Bytes(frame.begin() + 10, frame.begin() + 74)));
  EXPECT_EQ(reports[6][1], frame[330]);
  EXPECT_EQ(reports[6][2], kEnd);
  EXPECT_TRUE(std::equal(reports[6].begin() + 3, reports[6].end(), reports[5].begin() + 3));
  bool uploaded = false;
  ASSERT_TRUE(WaitUntil(
      [&] {
        usb::WithBus([&](sim::Bus& bus) { uploaded = bus.Units()[0].ActiveSet() == group; });
        return uploaded;
      },
      2000));
}

TEST_F(UsbTest, UnpluggedWhileLinkedItWarnsAndDisconnectsAndPluggedBackItIsTakenButNotConnected) {
  Rig& rig = StartTaken();
  TForm1& f = rig.form;
  ConnectOverUsb(rig);
  EXPECT_EQ(UsbThreads(), 2) << "the watcher and the reader";
  usb::Plug(false);
  ASSERT_TRUE(WaitUntil([&] { return rig.warning.isVisible(); }, 2000)) << "noticed within the watcher's period";
  EXPECT_EQ(rig.app.backend.State(), ConnectionState::Disconnected);
  EXPECT_FALSE(rig.Connected());
  EXPECT_FALSE(rig.app.backend.LinkOpen());
  EXPECT_FALSE(rig.app.backend.UsbInUse());
  EXPECT_EQ(f.lbl_usbhid->text(), QStringLiteral("已移除设备."));
  EXPECT_TRUE(HistoryHas(f, QStringLiteral("Removal of ") + kProcessorName));
  EXPECT_EQ(f.DevListBox->count(), 0);
  EXPECT_EQ(rig.app.usb.HidListIndex(), kNoUsbEntry);
  EXPECT_TRUE(f.GroupBox2->RzComboBox1->isEnabled());
  EXPECT_TRUE(f.GroupBox2->RzComboBox6->isEnabled());
  // The reader of the removed device is gone; the watcher stays.
  EXPECT_TRUE(WaitUntil([&] { return UsbThreads() == 1; }, 2000)) << UsbThreads();

  rig.warning.close();
  usb::ClearWrittenReports();
  usb::Plug(true);
  ASSERT_TRUE(WaitUntil([&] { return rig.app.backend.UsbInUse(); }, 2000));
  EXPECT_FALSE(f.GroupBox2->RzComboBox1->isEnabled());
  EXPECT_EQ(UsbThreads(), 2);
  // No reconnection of its own: nothing is written until the user connects.
  Pump(1200);
  EXPECT_FALSE(rig.Connected());
  EXPECT_TRUE(usb::WrittenReports().empty());
  ConnectOverUsb(rig);
  EXPECT_TRUE(StartsWithFrame(usb::WrittenReports().front(), QueryCurrentBlock(0)));
}

TEST_F(UsbTest, TheSearchAndTheBroadcastModeAreRefusedOnUsb) {
  Rig& rig = StartTaken();
  TForm1& f = rig.form;
  rig.form.GroupBox3->Button8->click();  // search device id
  EXPECT_FALSE(rig.app.backend.SearchRunning());
  EXPECT_TRUE(f.RzGroupBox3->isHidden());
  EXPECT_TRUE(f.GroupBox1->isVisible());
  rig.dialogs.ExpectMessage(QStringLiteral("USB MODE.Can not enter brocast mode."));
  f.GroupBox2->RzButton8->click();
  EXPECT_NE(rig.app.backend.Session().DeviceIndex, kBroadcastIndex);
  EXPECT_FALSE(rig.dialogs.Pending());
  Pump(300);
  EXPECT_TRUE(usb::WrittenReports().empty()) << "nothing was sent for either";
}

TEST_F(UsbTest, ReadAndWriteErrorsAreLoggedAndASilentLinkEndsByTheWatchdog) {
  Rig& rig = StartTaken();
  TForm1& f = rig.form;
  ConnectOverUsb(rig);
  usb::InjectReadError(5);
  ASSERT_TRUE(WaitUntil([&] { return HistoryHas(f, QStringLiteral("READ ERROR: Input/output error (5)")); }, 2000));
  // A read error alone ends nothing: the polls go on being answered.
  Pump(1200);
  EXPECT_TRUE(rig.Connected());
  EXPECT_FALSE(rig.warning.isVisible());

  usb::FailNextWrites(1000, 5);
  ASSERT_TRUE(WaitUntil([&] { return HistoryHas(f, QStringLiteral("WRITE ERROR: Input/output error (5)")); }, 2000));
  EXPECT_TRUE(rig.Connected()) << "a failed write is only logged";
  // Two seconds after the first unanswered poll the watchdog ends the link.
  ASSERT_TRUE(WaitUntil([&] { return rig.warning.isVisible(); }, 5000));
  EXPECT_FALSE(rig.Connected());
  EXPECT_TRUE(rig.app.backend.UsbInUse()) << "the device stays taken";
}

TEST_F(UsbTest, AProcessorThatCannotBeOpenedIsExplainedOnceAndLeftUntaken) {
  usb::RefuseOpen(true);
  usb::Plug(true);
  rig_ = std::make_unique<Rig>(QStringList{});
  Rig& rig = *rig_;
  const QString path = QString::fromLatin1(usb::kProcessorPath);
  rig.dialogs.ExpectMessage(Ui(Texts().UsbNoPermission).arg(path));
  ASSERT_TRUE(WaitUntil([&] { return !rig.dialogs.Pending(); }, 3000));
  const QString message = rig.dialogs.Shown().front();
  EXPECT_TRUE(message.contains(QStringLiteral("60-k7310.rules")));
  EXPECT_TRUE(message.contains(QStringLiteral("udevadm control --reload-rules")));
  EXPECT_FALSE(rig.app.backend.UsbInUse());
  EXPECT_EQ(rig.form.DevListBox->count(), 1);
  const auto openErrors = [&] { return History(rig.form).filter(QStringLiteral("OPEN ERROR")).size(); };
  EXPECT_GE(openErrors(), 1);
  // Another change of the device set tries again and logs again, but tells the user nothing more.
  const auto before = openErrors();
  usb::SetOtherDevices({{"", 0x046d, 0xc52b, "USB Receiver", ""}});
  ASSERT_TRUE(WaitUntil([&] { return rig.form.DevListBox->count() == 2; }, 2000));
  EXPECT_GT(openErrors(), before);
  EXPECT_EQ(rig.dialogs.Shown().size(), 1u);
  // With the rule in place, the next plug-in takes it.
  usb::RefuseOpen(false);
  usb::Plug(false);
  ASSERT_TRUE(WaitUntil([&] { return rig.form.DevListBox->count() == 1; }, 2000));
  usb::Plug(true);
  EXPECT_TRUE(WaitUntil([&] { return rig.app.backend.UsbInUse(); }, 2000));
}

}  // namespace
}  // namespace k7310::test
