// The simulated USB library, called as the program calls the HID library: the device list, requests in 65-byte
// output reports answered by a header report and data reports, leftovers behind a short frame, a group upload in
// six body reports, and the failures the program must survive (refused open, failed and refused writes, a read
// error, the device pulled out under a waiting reader).
#include <gtest/gtest.h>
#include <hidapi.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "protocol/catalogue.h"
#include "protocol/frame.h"
#include "protocol/hid_reports.h"
#include "sim/bus.h"
#include "sim/hidapi/sim_usb_control.h"
#include "sim/processor.h"
#include "sim/usb_personality.h"

namespace k7310::sim {
namespace {

using namespace std::chrono_literals;

constexpr int kTemperatureRaw = 3000;

std::string Narrow(const wchar_t* w) {
  std::string s;
  for (; w && *w; ++w) s.push_back(static_cast<char>(*w));
  return s;
}

std::vector<UsbDeviceInfo> List(unsigned short vendorId = 0, unsigned short productId = 0) {
  std::vector<UsbDeviceInfo> list;
  hid_device_info* all = hid_enumerate(vendorId, productId);
  for (const hid_device_info* d = all; d; d = d->next)
    list.push_back({d->path, d->vendor_id, d->product_id, Narrow(d->product_string), Narrow(d->serial_number)});
  hid_free_enumeration(all);
  return list;
}

std::vector<std::string> Names(const std::vector<UsbDeviceInfo>& list) {
  std::vector<std::string> names;
  for (const UsbDeviceInfo& d : list) names.push_back(UsbDeviceName(d));
  return names;
}

struct Reply {
  std::string hex;
  int reports = 0;
  bool allFull = true;  // every read gave the 64 data bytes
};

// Reads until the reassembly completes a reply (or a generous time has passed).
Reply ReadReply(hid_device* dev) {
  Reply r;
  UsbReassembly assembly;
  const auto end = std::chrono::steady_clock::now() + 10s;
  std::array<std::uint8_t, 64> buf{};
  while (std::chrono::steady_clock::now() < end) {
    const int n = hid_read_timeout(dev, buf.data(), buf.size(), 100);
    if (n < 0) {
      ADD_FAILURE() << "read failed: " << Narrow(hid_error(dev));
      break;
    }
    if (n == 0) continue;
    ++r.reports;
    r.allFull = r.allFull && n == 64;
    if (auto text = assembly.Take(std::span<const std::uint8_t>(buf.data(), static_cast<std::size_t>(n)))) {
      r.hex = *text;
      break;
    }
  }
  return r;
}

// The reply a unit in the same state gives on the line.
std::string LineReply(const Bytes& request) {
  Bus bus;
  bus.AddUnit(1).FixTemperatureRaw(kTemperatureRaw);
  for (const Outgoing& o : bus.Receive(request, 0))
    if (o.kind == Traffic::Tx) return ToHexText(o.bytes);
  return {};
}

struct Seen {
  int framesIn = 0;
  int repliesOut = 0;
  std::size_t noise = 0;
  std::size_t bad = 0;
};

Seen ModelTraffic() {
  Seen t;
  usb::WithBus([&](Bus& bus) {
    for (const LogEntry& e : bus.Log()) (e.kind == Traffic::Rx ? t.framesIn : t.repliesOut) += 1;
    t.noise = bus.Stats().noiseBytes;
    t.bad = bus.Stats().badFrames;
  });
  return t;
}

class SimUsb : public ::testing::Test {
 protected:
  void SetUp() override {
    usb::Reset(1);
    usb::Plug(true);
    usb::WithBus([](Bus& bus) { bus.Units().front().FixTemperatureRaw(kTemperatureRaw); });
    ASSERT_EQ(hid_init(), 0);
  }
  void TearDown() override {
    for (hid_device* d : open_) hid_close(d);
    usb::Reset(1);
  }

  hid_device* Open() {
    hid_device* d = hid_open_path(usb::kProcessorPath);
    EXPECT_NE(d, nullptr) << Narrow(hid_error(nullptr));
    if (d) open_.push_back(d);
    return d;
  }
  // Writes a frame the way the program does: into the one report buffer it keeps, over what earlier frames left.
  int Send(hid_device* dev, const Bytes& frame) {
    StageFrame(report_, frame);
    return hid_write(dev, report_.data(), report_.size());
  }

  std::vector<hid_device*> open_;
  UsbReport report_{};
};

TEST_F(SimUsb, TheDeviceListHasTheProcessorFirstThenTheOtherDevices) {
  usb::SetOtherDevices({{"", 0x046D, 0xC52B, "USB Receiver", ""},
                        {"hid:look-alike", kUsbVendorId, kUsbProductId, kUsbProduct, "0000003"},
                        {"", kUsbVendorId, kUsbProductId, "", ""}});
  hid_device_info* all = hid_enumerate(0, 0);
  ASSERT_NE(all, nullptr);
  EXPECT_STREQ(all->path, usb::kProcessorPath);
  EXPECT_EQ(all->vendor_id, 0x0483);
  EXPECT_EQ(all->product_id, 0x5750);
  EXPECT_EQ(Narrow(all->product_string), "DEVADUVORARAZ01");
  EXPECT_EQ(Narrow(all->serial_number), "0000002");
  EXPECT_EQ(all->bus_type, HID_API_BUS_USB);
  hid_free_enumeration(all);

  const std::vector<std::string> everything = {"DEVADUVORARAZ01 (Serial=0000002)", "USB Receiver",
                                               "DEVADUVORARAZ01 (Serial=0000003)", "Device VID=0483 PID=5750"};
  EXPECT_EQ(Names(List()), everything);
  EXPECT_EQ(Names(List(0x0483, 0x5750)),
            (std::vector<std::string>{everything[0], everything[2], everything[3]}));
  EXPECT_EQ(Names(List(0x046D, 0)), std::vector<std::string>{"USB Receiver"});

  // The others are listed but belong to someone else.
  for (const UsbDeviceInfo& d : List()) {
    if (d.path == usb::kProcessorPath) continue;
    errno = 0;
    EXPECT_EQ(hid_open_path(d.path.c_str()), nullptr) << d.path;
    EXPECT_EQ(errno, EACCES) << d.path;
  }
  // Open by IDs and serial finds the processor, not its look-alike.
  hid_device* dev = hid_open(kUsbVendorId, kUsbProductId, L"0000002");
  ASSERT_NE(dev, nullptr);
  open_.push_back(dev);
  std::array<wchar_t, 32> text{};
  ASSERT_EQ(hid_get_product_string(dev, text.data(), text.size()), 0);
  EXPECT_EQ(Narrow(text.data()), "DEVADUVORARAZ01");
  ASSERT_EQ(hid_get_serial_number_string(dev, text.data(), text.size()), 0);
  EXPECT_EQ(Narrow(text.data()), "0000002");
  EXPECT_STREQ(hid_get_device_info(dev)->path, usb::kProcessorPath);
  EXPECT_EQ(hid_open(kUsbVendorId, kUsbProductId, L"0000009"), nullptr);

  usb::Plug(false);
  EXPECT_EQ(Names(List()), (std::vector<std::string>{everything[1], everything[2], everything[3]}));
  usb::SetOtherDevices({});
  EXPECT_EQ(hid_enumerate(0, 0), nullptr);
}

TEST_F(SimUsb, RequestsComeBackAsAHeaderReportAndDataReports) {
  const struct {
    const char* what;
    Bytes request;
    std::size_t chars;
    int reports;
  } cases[] = {
      {"status (payload 8)", QueryStatus(0), 40, 2},
      {"device settings (payload 8)", QueryDeviceSettings(0), 40, 2},
      {"active group (payload 320)", QueryCurrentBlock(0), 664, 7},
      {"names (payload 400)", QueryGroupNames(0), 824, 8},
  };
  hid_device* dev = Open();
  ASSERT_NE(dev, nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(Send(dev, c.request), 65);
    const Reply r = ReadReply(dev);
    EXPECT_EQ(r.hex.size(), c.chars);
    EXPECT_EQ(r.hex, LineReply(c.request));
    EXPECT_EQ(r.reports, c.reports);
    EXPECT_TRUE(r.allFull);
  }
  // Nothing more: every report of every reply was used.
  std::array<std::uint8_t, 64> buf{};
  EXPECT_EQ(hid_read_timeout(dev, buf.data(), buf.size(), 0), 0);
  ASSERT_EQ(hid_set_nonblocking(dev, 1), 0);
  EXPECT_EQ(hid_read(dev, buf.data(), buf.size()), 0);
  // Every written buffer is on record as given.
  const auto written = usb::WrittenReports();
  ASSERT_EQ(written.size(), std::size(cases));
  EXPECT_EQ(written.back(), std::vector<std::uint8_t>(report_.begin(), report_.end()));
}

TEST_F(SimUsb, BytesBehindAShortFrameAreLeftoversAndNeverReachTheUnit) {
  hid_device* dev = Open();
  ASSERT_NE(dev, nullptr);
  // A 20-byte parameter write, then a 12-byte query over it: bytes 12..19 are the write's tail.
  ASSERT_EQ(Send(dev, BuildParameterFrame(0, area::kMainSettings, 0, {1, 2, 3, 4, 5, 6, 7, 8})), 65);
  ASSERT_EQ(Send(dev, QueryStatus(0)), 65);
  EXPECT_EQ(ReadReply(dev).hex, LineReply(QueryStatus(0)));
  // And a whole frame hidden behind the query is not taken either.
  const Bytes hidden = QueryDeviceSettings(0);
  std::copy(hidden.begin(), hidden.end(), report_.begin() + 1 + 12);
  ASSERT_EQ(hid_write(dev, report_.data(), report_.size()), 65);
  EXPECT_EQ(ReadReply(dev).hex, LineReply(QueryStatus(0)));

  const Seen t = ModelTraffic();
  EXPECT_EQ(t.framesIn, 3);
  EXPECT_EQ(t.repliesOut, 2);
  EXPECT_EQ(t.noise, 0u);
  EXPECT_EQ(t.bad, 0u);
}

TEST_F(SimUsb, AGroupUploadInAHeaderReportAndSixBodyReportsReplacesTheActiveSet) {
  GroupPayload payload;
  for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i * 13 + 5);
  const Bytes frame = BuildFrame(0, frame_type::kWrite, 0, area::kActiveGroup, 0, payload);
  ASSERT_EQ(Bytes(frame.begin(), frame.begin() + 10), WriteBlockHeader(0));
  std::array<std::uint8_t, kUsbBlockBodySize> body{};
  std::copy(frame.begin() + 10, frame.end(), body.begin());

  hid_device* dev = Open();
  ASSERT_NE(dev, nullptr);
  ASSERT_EQ(Send(dev, QueryStatus(0)), 65);  // leaves a whole frame behind the 10-byte header
  ReadReply(dev);
  ASSERT_EQ(Send(dev, WriteBlockHeader(0)), 65);
  for (int k = 0; k < kUsbBlockReports; ++k) {
    StageBlockReport(report_, body, k);
    ASSERT_EQ(hid_write(dev, report_.data(), report_.size()), 65) << k;
  }
  GroupPayload active{};
  usb::WithBus([&](Bus& bus) { active = bus.Units().front().ActiveSet(); });
  EXPECT_EQ(active, payload);
  const Seen t = ModelTraffic();
  EXPECT_EQ(t.framesIn, 2);
  EXPECT_EQ(t.repliesOut, 1);  // the status query's; an upload has no reply
  EXPECT_EQ(t.noise, 0u);

  ASSERT_EQ(Send(dev, QueryCurrentBlock(0)), 65);
  EXPECT_NE(ReadReply(dev).hex.find(ToHexText(payload)), std::string::npos);
}

TEST_F(SimUsb, RefusedOpensSetErrnoAndTheMessage) {
  const struct {
    const char* what;
    std::function<void()> arrange;
    const char* path;
    int error;
  } cases[] = {
      {"no permission", [] { usb::RefuseOpen(true); }, usb::kProcessorPath, EACCES},
      {"pulled out", [] { usb::Plug(false); }, usb::kProcessorPath, ENOENT},
      {"no such device", [] {}, "sim-usb:nothing", ENOENT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    usb::Reset(1);
    usb::Plug(true);
    c.arrange();
    errno = 0;
    EXPECT_EQ(hid_open_path(c.path), nullptr);
    EXPECT_EQ(errno, c.error);
    EXPECT_NE(Narrow(hid_error(nullptr)).find(std::strerror(c.error)), std::string::npos)
        << Narrow(hid_error(nullptr));
    EXPECT_EQ(usb::OpenHandles(), 0);
  }
  usb::RefuseOpen(false);
  usb::Plug(true);
  EXPECT_NE(Open(), nullptr);
  EXPECT_EQ(Narrow(hid_error(nullptr)), "Success");
}

TEST_F(SimUsb, FailedAndRefusedWritesLeaveTheDeviceWorking) {
  const struct {
    const char* what;
    std::function<void()> arrange;
    std::vector<std::uint8_t> buffer;
    int error;
  } cases[] = {
      {"64 bytes, no report number", [] {}, std::vector<std::uint8_t>(64, 0xA5), EINVAL},
      {"66 bytes", [] {}, std::vector<std::uint8_t>(66, 0), EINVAL},
      {"report number 1", [] {}, std::vector<std::uint8_t>(65, 1), EINVAL},
      {"device error", [] { usb::FailNextWrites(1, EIO); }, std::vector<std::uint8_t>(65, 0), EIO},
      {"stalled endpoint", [] { usb::FailNextWrites(1, EPIPE); }, std::vector<std::uint8_t>(65, 0), EPIPE},
  };
  hid_device* dev = Open();
  ASSERT_NE(dev, nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    usb::ClearWrittenReports();
    c.arrange();
    std::vector<std::uint8_t> buffer = c.buffer;
    if (buffer.size() == 65 && buffer[0] == 0) std::copy_n(QueryStatus(0).begin(), 12, buffer.begin() + 1);
    errno = 0;
    EXPECT_EQ(hid_write(dev, buffer.data(), buffer.size()), -1);
    EXPECT_EQ(errno, c.error);
    const std::string message = Narrow(hid_error(dev));
    EXPECT_NE(message.find(std::strerror(c.error)), std::string::npos) << message;
    // Nothing was taken from a failed write; the next one works.
    ASSERT_EQ(Send(dev, QueryStatus(0)), 65);
    EXPECT_EQ(ReadReply(dev).hex.size(), 40u);
    EXPECT_EQ(Narrow(hid_error(dev)), "Success");
    const auto written = usb::WrittenReports();
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0], buffer);
  }
  EXPECT_EQ(ModelTraffic().framesIn, static_cast<int>(std::size(cases)));
}

TEST_F(SimUsb, AnInjectedReadErrorFailsOneReadThenReadsWork) {
  hid_device* dev = Open();
  ASSERT_NE(dev, nullptr);
  usb::InjectReadError(EIO);
  std::array<std::uint8_t, 64> buf{};
  errno = 0;
  EXPECT_EQ(hid_read_timeout(dev, buf.data(), buf.size(), 100), -1);
  EXPECT_EQ(errno, EIO);
  EXPECT_NE(Narrow(hid_error(dev)).find(std::strerror(EIO)), std::string::npos);
  ASSERT_EQ(Send(dev, QueryStatus(0)), 65);
  EXPECT_EQ(ReadReply(dev).hex, LineReply(QueryStatus(0)));
}

TEST_F(SimUsb, AReaderBlockedInAnotherThreadWakesWhenTheDeviceGoes) {
  const struct {
    const char* what;
    std::function<void(hid_device*)> act;
    int error;
  } cases[] = {
      {"pulled out", [](hid_device*) { usb::Plug(false); }, ENODEV},
      {"library reset", [](hid_device*) { usb::Reset(1); }, ENODEV},
      {"closed under the reader (the caller's fault)", [](hid_device* d) { hid_close(d); }, EBADF},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    usb::Reset(1);
    usb::Plug(true);
    hid_device* dev = hid_open_path(usb::kProcessorPath);
    ASSERT_NE(dev, nullptr);
    int result = 0;
    int error = 0;
    std::thread reader([&] {
      std::array<std::uint8_t, 64> buf{};
      result = hid_read_timeout(dev, buf.data(), buf.size(), -1);
      error = errno;
    });
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (usb::WaitingReads() == 0 && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(1ms);
    ASSERT_EQ(usb::WaitingReads(), 1);
    const int handles = usb::OpenHandles();
    c.act(dev);
    reader.join();  // a read without time-out returns only because it was woken
    EXPECT_EQ(result, -1);
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(usb::WaitingReads(), 0);
    if (c.error == EBADF) {
      EXPECT_EQ(usb::OpenHandles(), handles - 1);  // freed by the woken read
      continue;
    }
    // The handle stays dead after the device comes back; a new one works.
    usb::Plug(true);
    std::array<std::uint8_t, 64> buf{};
    errno = 0;
    EXPECT_EQ(hid_read_timeout(dev, buf.data(), buf.size(), 0), -1);
    EXPECT_EQ(errno, ENODEV);
    EXPECT_EQ(Send(dev, QueryStatus(0)), -1);
    EXPECT_EQ(errno, ENODEV);
    hid_close(dev);
    hid_device* fresh = Open();
    ASSERT_NE(fresh, nullptr);
    ASSERT_EQ(Send(fresh, QueryStatus(0)), 65);
    EXPECT_EQ(ReadReply(fresh).hex.size(), 40u);
  }
}

// The unit's USB side on its own clock: replies leave one report a millisecond, and an upload header whose body
// never comes stops eating reports once its window has passed.
TEST(UsbPersonality, RepliesArePacedAndAnAbandonedUploadEndsWithItsWindow) {
  auto report = [](const Bytes& frame) {
    UsbReportData data{};
    std::copy(frame.begin(), frame.end(), data.begin());
    return data;
  };
  const struct {
    const char* what;
    std::int64_t queryAtMs;  // a status query after an upload header sent at 0
    bool answered;
  } cases[] = {
      {"inside the window: taken as the body", 500, false},
      {"after the window: a request again", kUploadBodyWaitMs + 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    UsbPersonality unit;
    unit.TakeOutputReport(report(WriteBlockHeader(0)), 0);
    EXPECT_TRUE(unit.CollectingBody());
    unit.TakeOutputReport(report(QueryStatus(0)), c.queryAtMs);
    const std::vector<InputReport> out = unit.TakeDue(c.queryAtMs + 100);
    ASSERT_EQ(out.size(), c.answered ? 2u : 0u);
    if (!c.answered) continue;
    EXPECT_EQ(out[0].dueMs, c.queryAtMs + 1);
    EXPECT_EQ(out[1].dueMs, c.queryAtMs + 2);
  }
}

}  // namespace
}  // namespace k7310::sim
