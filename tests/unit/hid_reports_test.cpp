// The processor's USB reports: naming and matching in the device list, frames staged into reports with what earlier
// frames left behind them, the six reports of an upload body, the history lines, and the reassembly of input
// reports into whole replies.
#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <vector>

#include "protocol/catalogue.h"
#include "protocol/hid_reports.h"

namespace k7310 {
namespace {

using Data = std::array<std::uint8_t, kUsbReportDataSize>;

// A reply frame cut into input reports as the unit sends it: a header report (frame bytes 0..9, the rest left at
// `fill`), then data reports with frame bytes 10.. (the last one padded with `fill`).
std::vector<Data> AsInputReports(const Bytes& frame, std::uint8_t fill = 0) {
  std::vector<Data> out;
  Data header;
  header.fill(fill);
  std::copy_n(frame.begin(), kHeaderSize, header.begin());
  out.push_back(header);
  for (std::size_t at = kHeaderSize; at < frame.size(); at += kUsbReportDataSize) {
    Data d;
    d.fill(fill);
    std::copy(frame.begin() + at, frame.begin() + std::min(frame.size(), at + kUsbReportDataSize), d.begin());
    out.push_back(d);
  }
  return out;
}

TEST(UsbReports, DeviceNamesAndTheProcessorsIds) {
  struct Case {
    UsbDeviceInfo device;
    const char* name;
    bool processorIds;
  };
  const Case cases[] = {
      {{"a", 0x0483, 0x5750, "DEVADUVORARAZ01", "0000002"}, "DEVADUVORARAZ01 (Serial=0000002)", true},
      {{"b", 0x0483, 0x5750, "DEVADUVORARAZ01", "0000003"}, "DEVADUVORARAZ01 (Serial=0000003)", true},
      {{"c", 0x0483, 0x5750, "", "0000002"}, "Device VID=0483 PID=5750 (Serial=0000002)", true},
      {{"d", 0x0483, 0x5750, "", ""}, "Device VID=0483 PID=5750", true},
      {{"e", 0x046d, 0xc52b, "USB Receiver", ""}, "USB Receiver", false},
      {{"f", 0xabcd, 0x00ef, "", ""}, "Device VID=ABCD PID=00EF", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UsbDeviceName(c.device), c.name) << c.device.path;
    EXPECT_EQ(HasProcessorIds(c.device), c.processorIds) << c.device.path;
  }
  EXPECT_EQ(UsbDeviceName(cases[0].device), kUsbProcessorName);
}

TEST(UsbReports, AFrameKeepsWhatEarlierFramesLeftBehindIt) {
  UsbReport report{};
  StageFrame(report, QueryDeviceSettings(0));  // 20 bytes
  StageFrame(report, QueryStatus(0));          // 12 bytes
  const Bytes status = QueryStatus(0);
  const Bytes settings = QueryDeviceSettings(0);
  EXPECT_EQ(report[0], 0);
  EXPECT_TRUE(std::equal(status.begin(), status.end(), report.begin() + 1));
  EXPECT_TRUE(std::equal(settings.begin() + 12, settings.end(), report.begin() + 13));
  EXPECT_EQ(report[21], 0);
  EXPECT_EQ(WrittenReportLine(std::span(report).first(4)), "W 00  A5 A5 A5 ");
}

TEST(UsbReports, AnUploadBodyIsSixReportsAndTheLastKeepsTheFifthsTail) {
  std::array<std::uint8_t, kUsbBlockBodySize> body;
  std::iota(body.begin(), body.end(), 0);  // byte i holds i & 0xFF
  body[320] = 0x5C;
  body[321] = kEnd;
  UsbReport report{};
  std::vector<UsbReport> sent;
  for (int k = 0; k < kUsbBlockReports; ++k) {
    StageBlockReport(report, body, k);
    sent.push_back(report);
  }
  for (int k = 0; k < 5; ++k)
    for (std::size_t i = 0; i < kUsbReportDataSize; ++i) ASSERT_EQ(sent[k][1 + i], body[64 * k + i]) << k << " " << i;
  EXPECT_EQ(sent[5][1], 0x5C);
  EXPECT_EQ(sent[5][2], kEnd);
  EXPECT_TRUE(std::equal(sent[5].begin() + 3, sent[5].end(), sent[4].begin() + 3));
}

TEST(UsbReports, ErrorLines) {
  EXPECT_EQ(WriteErrorLine("Input/output error", 5), "WRITE ERROR: Input/output error (5)");
  EXPECT_EQ(ReadErrorLine("No such device", 19), "READ ERROR: No such device (13)");
  EXPECT_EQ(OpenErrorLine("Permission denied", 13), "OPEN ERROR: Permission denied (D)");
}

TEST(UsbReassembly, RepliesOfEveryLengthComeBackWhole) {
  Bytes status(20, 0x11), ack(12, 0x22), block(332, 0x33), names(412, 0x44);
  for (Bytes* f : {&status, &ack, &block, &names}) {
    (*f)[0] = (*f)[1] = (*f)[2] = kSync;
    const std::size_t payload = f->size() - 12;
    (*f)[8] = static_cast<std::uint8_t>(payload >> 8);
    (*f)[9] = static_cast<std::uint8_t>(payload & 0xFF);
    f->back() = kEnd;
  }
  struct Case {
    const Bytes& frame;
    std::size_t reports;
    std::size_t chars;
  };
  for (const Case& c : {Case{status, 2, 40}, Case{ack, 2, 24}, Case{block, 7, 664}, Case{names, 8, 824}}) {
    UsbReassembly r;
    const auto reports = AsInputReports(c.frame, 0xEE);  // padding that must not reach the text
    ASSERT_EQ(reports.size(), c.reports);
    for (std::size_t i = 0; i + 1 < reports.size(); ++i) {
      EXPECT_FALSE(r.Take(reports[i])) << c.frame.size() << " report " << i;
      EXPECT_TRUE(r.Collecting());
    }
    const auto whole = r.Take(reports.back());
    ASSERT_TRUE(whole) << c.frame.size();
    EXPECT_EQ(whole->size(), c.chars);
    EXPECT_EQ(*whole, ToHexText(c.frame));
    EXPECT_FALSE(r.Collecting());
    EXPECT_TRUE(r.Text().empty());
  }
}

TEST(UsbReassembly, AFirstReportWithoutTheSyncIsDroppedAndResetForgetsAPartialReply) {
  UsbReassembly r;
  Data noise{};
  noise[0] = 0xA5;
  noise[1] = 0xA5;  // two sync bytes are not enough
  EXPECT_FALSE(r.Take(noise));
  EXPECT_FALSE(r.Collecting());
  EXPECT_TRUE(r.Text().empty());

  const auto block = AsInputReports(Bytes(332, kSync));  // length A5A5 announced: collects
  r.Take(block[0]);
  r.Take(block[1]);
  EXPECT_TRUE(r.Collecting());
  EXPECT_EQ(r.Pieces(), 1);
  r.Reset();
  EXPECT_FALSE(r.Collecting());
  EXPECT_EQ(r.Pieces(), 0);
  EXPECT_TRUE(r.Text().empty());
  // The next reply starts cleanly after the reset.
  Bytes ack = QueryStatus(0);
  ack[9] = 0;
  const auto reports = AsInputReports(ack);
  EXPECT_FALSE(r.Take(reports[0]));
  EXPECT_EQ(r.Length(), 0);
  EXPECT_EQ(*r.Take(reports[1]), ToHexText(ack));
}

}  // namespace
}  // namespace k7310
