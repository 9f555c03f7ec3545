// Arbitrary text at the front of the receive text into every reply decoder.
// Properties: a decoder accepts only text that starts with a whole reply of its kind (the length it needs, its type
// and area at their places), its numbers stay within their ranges, and the decoders never disagree about a text
// (a text is at most one kind of reply).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "protocol/frame.h"
#include "protocol/group_block.h"
#include "protocol/reply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace k7310;
  const std::string_view rx(reinterpret_cast<const char*>(data), size);
  const ReplyHead head = ReadHead(rx);
  for (const int field : {head.type, head.group, head.area, head.record})
    K7310_FUZZ_CHECK(field >= -1 && field <= 255);
  K7310_FUZZ_CHECK(head.length >= -1 && head.length <= 0xFFFF);

  int kinds = 0;
  if (const auto s = DecodeDeviceSettings(rx)) {
    ++kinds;
    K7310_FUZZ_CHECK(rx.size() >= reply::kSettingsChars && head.type == 0x52 && head.area == 0x21);
    for (const int v : {s->lastLoadedGroup, s->setting1, s->setting2, s->tempThreshold, s->replyingIndex})
      K7310_FUZZ_CHECK(v >= 0 && v <= 255);
  }
  if (const auto s = DecodeStatus(rx)) {
    ++kinds;
    K7310_FUZZ_CHECK(rx.size() >= reply::kStatusChars && head.type == 0x52 && head.area == 0x2B);
    K7310_FUZZ_CHECK(s->tempRaw >= 0 && s->tempRaw <= reply::kTempRawCap);
    K7310_FUZZ_CHECK(s->tempStep >= 0 && s->tempStep <= 30);
    K7310_FUZZ_CHECK(s->attenuationDb >= 0 && s->attenuationDb <= 255);
  }
  if (IsSettingsAck(rx)) {
    ++kinds;
    K7310_FUZZ_CHECK(rx.size() >= reply::kAckChars && head.type == 0x51 && head.length == 0);
  }
  if (IsStoreAck(rx)) {
    ++kinds;
    K7310_FUZZ_CHECK(rx.size() >= reply::kAckChars && head.type == 0x51 && head.length == 0);
  }
  if (IsStoredGroup(rx)) {
    ++kinds;
    K7310_FUZZ_CHECK(rx.size() >= kBlockTextLength && head.area == 0x29);
  }
  if (IsActiveGroup(rx)) {
    ++kinds;
    K7310_FUZZ_CHECK(rx.size() >= kBlockTextLength && head.area == 0x28);
  }
  if (const auto names = DecodeGroupNames(rx)) {
    ++kinds;
    K7310_FUZZ_CHECK(rx.size() >= reply::kNamesChars && head.area == 0x26);
  }
  K7310_FUZZ_CHECK(kinds <= 1);
  return 0;
}
