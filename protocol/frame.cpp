#include "protocol/frame.h"

#include "eq/scales.h"

namespace k7310 {

std::uint8_t FrameChecksum(std::span<const std::uint8_t> frame, std::size_t last) {
  std::uint8_t x = 0;
  for (std::size_t i = 3; i <= last && i < frame.size(); ++i) x ^= frame[i];
  return x;
}

Bytes BuildHeader(std::uint8_t deviceIndex, std::uint8_t type, std::uint8_t group, std::uint8_t areaCode,
                  std::uint8_t record, std::uint16_t length) {
  return Bytes{kSync,   kSync,  kSync, deviceIndex, type, group, areaCode, record,
               static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length & 0xFF)};
}

Bytes BuildFrame(std::uint8_t deviceIndex, std::uint8_t type, std::uint8_t group, std::uint8_t areaCode,
                 std::uint8_t record, std::span<const std::uint8_t> payload) {
  Bytes f = BuildHeader(deviceIndex, type, group, areaCode, record, static_cast<std::uint16_t>(payload.size()));
  f.insert(f.end(), payload.begin(), payload.end());
  f.push_back(FrameChecksum(f, f.size() - 1));
  f.push_back(kEnd);
  return f;
}

static constexpr char kHexDigits[] = "0123456789ABCDEF";

std::string ToHexText(std::span<const std::uint8_t> bytes) {
  std::string s;
  s.reserve(bytes.size() * 2);
  for (std::uint8_t b : bytes) {
    s.push_back(kHexDigits[b >> 4]);
    s.push_back(kHexDigits[b & 0x0F]);
  }
  return s;
}

std::string ToSpacedHex(std::span<const std::uint8_t> bytes) {
  std::string s;
  s.reserve(bytes.size() * 3);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i) s.push_back(' ');
    s.push_back(kHexDigits[bytes[i] >> 4]);
    s.push_back(kHexDigits[bytes[i] & 0x0F]);
  }
  return s;
}

int HexByteAt(std::string_view text, std::size_t n) {
  if (text.size() < 2 * n + 2) return -1;
  const int hi = HexDigitValue(text[2 * n]);
  const int lo = HexDigitValue(text[2 * n + 1]);
  return hi < 0 || lo < 0 ? -1 : hi * 16 + lo;
}

bool ParseHexText(std::string_view text, Bytes& out) {
  out.clear();
  int pending = -1;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;
    int v = HexDigitValue(c);
    if (v < 0) return false;
    if (pending < 0) {
      pending = v;
    } else {
      out.push_back(static_cast<std::uint8_t>(pending * 16 + v));
      pending = -1;
    }
  }
  return pending < 0;
}

}  // namespace k7310
