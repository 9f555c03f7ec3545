// Framing of every message on the wire: sync, device, type, address, length, payload,
// XOR checksum, end byte.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace k7310 {

using Bytes = std::vector<std::uint8_t>;
using ParameterRecord = std::array<std::uint8_t, 8>;

inline constexpr std::uint8_t kSync = 0xA5;
inline constexpr std::uint8_t kEnd = 0xAA;
inline constexpr std::uint8_t kBroadcastIndex = 255;
inline constexpr std::size_t kHeaderSize = 10;

namespace frame_type {
inline constexpr std::uint8_t kWrite = 0xA1;
inline constexpr std::uint8_t kRead = 0xA2;
inline constexpr std::uint8_t kDataReply = 0x52;
inline constexpr std::uint8_t kAcknowledge = 0x51;
}  // namespace frame_type

namespace area {
inline constexpr std::uint8_t kHigh = 0x00;
inline constexpr std::uint8_t kMid = 0x01;
inline constexpr std::uint8_t kLow = 0x02;
inline constexpr std::uint8_t kMainSettings = 0x03;
inline constexpr std::uint8_t kMainCrossover = 0x04;
inline constexpr std::uint8_t kMainEqFirst = 0x05;  // Main EQ band 1; band b at 5 + b
inline constexpr std::uint8_t kDeviceSettings = 0x21;
inline constexpr std::uint8_t kGroupNames = 0x26;
inline constexpr std::uint8_t kStoreGroup = 0x27;
inline constexpr std::uint8_t kActiveGroup = 0x28;
inline constexpr std::uint8_t kStoredGroup = 0x29;
inline constexpr std::uint8_t kStatus = 0x2B;
}  // namespace area

// XOR of every byte from byte 3 (the device index) up to and including byte last.
std::uint8_t FrameChecksum(std::span<const std::uint8_t> frame, std::size_t last);

// Complete frame: header, payload, checksum, end byte.
Bytes BuildFrame(std::uint8_t deviceIndex, std::uint8_t type, std::uint8_t group, std::uint8_t areaCode,
                 std::uint8_t record, std::span<const std::uint8_t> payload);

// Ten header bytes only (no checksum, no end byte): the first piece of a block upload.
Bytes BuildHeader(std::uint8_t deviceIndex, std::uint8_t type, std::uint8_t group, std::uint8_t areaCode,
                  std::uint8_t record, std::uint16_t length);

struct WordBytes {
  std::uint8_t lo = 0;
  std::uint8_t hi = 0;
};
// The low and high byte of a 16-bit field, as the records carry it.
constexpr WordBytes SplitWord(int value) {
  return {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>((value >> 8) & 0xFF)};
}

// Two upper-case hex digits per byte, no separators.
std::string ToHexText(std::span<const std::uint8_t> bytes);
// Spaced form for logs and test messages: "A5 A5 ...".
std::string ToSpacedHex(std::span<const std::uint8_t> bytes);
// Byte n of a frame given as hex text (characters 2n and 2n + 1); -1 when the text is too short or those two
// characters are not hexadecimal digits.
int HexByteAt(std::string_view text, std::size_t n);
// Parses hex text with optional blanks ("A5 A5 00"). Returns false on any other character or an odd digit count.
bool ParseHexText(std::string_view text, Bytes& out);

}  // namespace k7310
