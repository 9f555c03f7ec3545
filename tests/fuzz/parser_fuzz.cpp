// Arbitrary receive text into the receive parser, with every routing state reachable.
// Input: byte 0 sets the state (bits 0..5 the routing flags AwaitIdAck, AwaitSaveAck, AwaitDumpAll, AwaitDumpOne,
// AwaitKeep, AwaitRecall; bit 7 nineteen stored groups already collected). The rest arrives
// as successive reads, split at '|'; each read is appended to RxHex and runs the parser once, as the links do.
// Properties after every run: RxHex is below the length limit, the collected-group count stays below 20, blocks
// handed on are 664 characters, a reply whose flag was not set is not routed as awaited, and the model keeps its
// ranges.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>
#include <vector>

#include "fuzz_check.h"
#include "protocol/group_block.h"
#include "protocol/parser.h"
#include "protocol/session.h"

namespace {

using namespace k7310;

// Each reply against the flags as they stood before the run.
void CheckReplies(const std::vector<Reply>& replies, const RoutingFlags& before) {
  for (const Reply& r : replies) {
    if (const auto* ack = std::get_if<rx::SettingsAck>(&r)) K7310_FUZZ_CHECK(!ack->awaited || before.AwaitIdAck);
    if (const auto* ack = std::get_if<rx::StoreAck>(&r)) K7310_FUZZ_CHECK(!ack->awaited || before.AwaitSaveAck);
    if (const auto* g = std::get_if<rx::StoredGroup>(&r)) {
      K7310_FUZZ_CHECK(before.AwaitDumpAll && g->block.size() == kBlockTextLength);
      K7310_FUZZ_CHECK(g->count >= 1 && g->count <= kGroupCount);
    }
    if (const auto* a = std::get_if<rx::ActiveGroup>(&r)) {
      if (a->route == rx::BlockRoute::Keep) K7310_FUZZ_CHECK(before.AwaitKeep && a->block.size() == kBlockTextLength);
      if (a->route == rx::BlockRoute::DumpOne) K7310_FUZZ_CHECK(before.AwaitDumpOne && a->block.size() == kBlockTextLength);
      if (a->route == rx::BlockRoute::Recall) K7310_FUZZ_CHECK(before.AwaitRecall);
    }
    if (const auto* st = std::get_if<rx::Status>(&r))
      K7310_FUZZ_CHECK(st->values.tempStep >= 0 && st->values.tempStep <= 30 && st->values.tempRaw <= 5118);
  }
}

void CheckSession(const DeviceSession& s) {
  K7310_FUZZ_CHECK(s.RxHex.size() < reply::kRxHexLimit);
  K7310_FUZZ_CHECK(s.DumpCount >= 0 && s.DumpCount < kGroupCount);
  const ParameterModel& m = s.model;
  for (int c = 0; c < kOutputCount; ++c) K7310_FUZZ_CHECK(m.OutGainIndex[c] <= MaxOutGainIndex(c));
  for (int c = 0; c < kChannelCount; ++c)
    K7310_FUZZ_CHECK(m.HpfFreqIndex[c] <= kMaxFreqIndex && m.LpfFreqIndex[c] <= kMaxFreqIndex &&
                     m.HpfType[c] <= kMaxFilterType && m.LpfType[c] <= kMaxFilterType);
  for (int i = 0; i < kBandCount; ++i)
    K7310_FUZZ_CHECK(m.EqFreqIndex[i] <= kMaxFreqIndex && m.EqType[i] <= kMaxEqType &&
                     m.EqPeakGainIndex[i] <= kMaxEqGainIndex && m.EqShelfGainIndex[i] <= kMaxEqGainIndex &&
                     m.EqQIndex[i] <= kMaxQIndex);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned state = data[0];
  DeviceSession s;
  s.LinkOpen = true;
  s.flags.AwaitIdAck = state & 1;
  s.flags.AwaitSaveAck = state >> 1 & 1;
  s.flags.AwaitDumpAll = state >> 2 & 1;
  s.flags.AwaitDumpOne = state >> 3 & 1;
  s.flags.AwaitKeep = state >> 4 & 1;
  s.flags.AwaitRecall = state >> 5 & 1;
  s.DumpCount = state & 0x80 ? kGroupCount - 1 : 0;

  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  for (;;) {
    const std::size_t cut = rest.find('|');
    s.RxHex.append(rest.substr(0, cut));
    const RoutingFlags before = s.flags;
    CheckReplies(ParseReceived(s), before);
    CheckSession(s);
    if (cut == std::string_view::npos) break;
    rest.remove_prefix(cut + 1);
  }
  return 0;
}
