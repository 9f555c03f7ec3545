// The processor's USB face, without any USB library: how the unit is recognised among the HID devices and named in
// the device list, how frames ride in 64-byte output reports (report number 0 in front, 65 bytes in all), how a
// group upload body is cut into six reports, the history lines of written reports, and the reassembly of input
// reports (a header report, then data reports) into the receive text the parser reads.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace k7310 {

inline constexpr std::uint16_t kUsbVendorId = 0x0483;
inline constexpr std::uint16_t kUsbProductId = 0x5750;
inline constexpr char kUsbProduct[] = "DEVADUVORARAZ01";
inline constexpr char kUsbSerial[] = "0000002";
// The device list entry of the processor: only a device named exactly this is taken.
inline constexpr char kUsbProcessorName[] = "DEVADUVORARAZ01 (Serial=0000002)";
// No entry of the device list is the processor.
inline constexpr int kNoUsbEntry = 100;

inline constexpr std::size_t kUsbReportDataSize = 64;
inline constexpr std::size_t kUsbReportSize = kUsbReportDataSize + 1;  // report number 0, then the data
using UsbReport = std::array<std::uint8_t, kUsbReportSize>;

// The body of a group upload as the USB link sends it: 320 payload bytes, the checksum, the end byte.
inline constexpr std::size_t kUsbBlockBodySize = 322;
inline constexpr int kUsbBlockReports = 6;

// A HID device as the device list knows it. Texts are UTF-8; empty when the device has none.
struct UsbDeviceInfo {
  std::string path;  // how the platform opens it
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::string product;
  std::string serial;

  bool operator==(const UsbDeviceInfo&) const = default;
};

// The product string, or "Device VID=0483 PID=5750" without one; then " (Serial=...)" when the device has a serial
// number. Hex digits are upper-case.
std::string UsbDeviceName(const UsbDeviceInfo& device);
// The processor's vendor and product IDs (whatever its strings say).
bool HasProcessorIds(const UsbDeviceInfo& device);

// Puts a frame into the report behind the report number. Bytes behind the frame keep what earlier frames left.
void StageFrame(UsbReport& report, std::span<const std::uint8_t> frame);
// Report k (0..5) of a group upload: reports 0..4 carry body bytes 64k..64k+63; report 5 carries the checksum and
// the end byte in its first two data bytes, the rest still holding what report 4 left there.
void StageBlockReport(UsbReport& report, std::span<const std::uint8_t, kUsbBlockBodySize> body, int k);

// "W 00  A5 A5 ..." for a written report: the report number, two blanks, then every further byte and a blank.
std::string WrittenReportLine(std::span<const std::uint8_t> report);
// "WRITE ERROR: <message> (<code in hex>)", "READ ERROR: ..." and, when the processor cannot be opened,
// "OPEN ERROR: ...".
std::string WriteErrorLine(const std::string& message, int code);
std::string ReadErrorLine(const std::string& message, int code);
std::string OpenErrorLine(const std::string& message, int code);

// Input reports back into hex text: a report starting A5 A5 A5 opens a reply and announces its payload length
// (frame bytes 8 and 9); length div 64 + 1 data reports follow, the last carrying the remaining payload bytes, the
// checksum and the end byte. A first report without the sync is dropped.
class UsbReassembly {
 public:
  // Takes the data bytes of one input report (without the report number). Returns the whole reply's hex text when
  // this report completes it; the assembly is then idle again.
  std::optional<std::string> Take(std::span<const std::uint8_t> data);
  // Forgets a partly assembled reply (every parser run does this).
  void Reset();

  const std::string& Text() const { return text_; }
  bool Collecting() const { return collecting_; }
  int Pieces() const { return pieces_; }
  int Length() const { return length_; }

 private:
  std::string text_;         // HidRxText
  bool collecting_ = false;  // HidRxCollecting
  int pieces_ = 0;           // HidRxPieces
  int length_ = 0;           // HidRxLength
};

}  // namespace k7310
