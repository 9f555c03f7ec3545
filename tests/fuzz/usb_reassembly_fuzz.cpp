// Arbitrary input reports (64 bytes each; the last one may be short) into the USB reassembly, and every whole reply
// on into the parser.
// Properties: a whole reply starts with the sync and its header, and holds exactly the header, the announced payload,
// the checksum and the end byte when the reports were whole and the payload's tail fits one report; the assembly is
// idle after a whole reply; the text being assembled never outgrows what the announced length allows.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_check.h"
#include "protocol/frame.h"
#include "protocol/hid_reports.h"
#include "protocol/parser.h"
#include "protocol/session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace k7310;
  UsbReassembly r;
  DeviceSession session;
  for (std::size_t at = 0; at < size; at += kUsbReportDataSize) {
    const std::size_t n = std::min(kUsbReportDataSize, size - at);
    const std::span<const std::uint8_t> report(data + at, n);
    const bool wasCollecting = r.Collecting();
    const int length = r.Length();
    const auto whole = r.Take(report);
    if (whole) {
      K7310_FUZZ_CHECK(wasCollecting && !r.Collecting() && r.Text().empty());
      K7310_FUZZ_CHECK(whole->compare(0, 6, "A5A5A5") == 0);
      const std::size_t full = 24 + 2 * static_cast<std::size_t>(length);
      const bool tailFits = length % 64 <= 62;
      if (n == kUsbReportDataSize && tailFits) K7310_FUZZ_CHECK(whole->size() == full);
      K7310_FUZZ_CHECK(whole->size() <= full);
      session.RxHex = *whole;
      ParseReceived(session);
    } else if (r.Collecting()) {
      K7310_FUZZ_CHECK(r.Text().compare(0, 6, "A5A5A5") == 0);
      K7310_FUZZ_CHECK(r.Text().size() <= 20 + 128 * static_cast<std::size_t>(r.Length() / 64));
    } else {
      K7310_FUZZ_CHECK(r.Text().empty());
    }
  }
  return 0;
}
