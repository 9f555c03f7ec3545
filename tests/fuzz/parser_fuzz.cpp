// Arbitrary receive text into the receive parser, with every routing state reachable.
// Input: byte 0 sets the state (bits 0..5 the routing flags AwaitIdAck, AwaitSaveAck, AwaitDumpAll, AwaitDumpOne,
// AwaitKeep, AwaitRecall; bit 6 a running search; bit 7 nineteen stored groups already collected). The rest arrives
// as successive reads, split at '|'; each read is appended to RxHex and runs the parser once, as the links do.
// Properties after every run: RxHex is below the length limit, the flags are 0 or 1, the collected-group count stays
// below 20, blocks handed on are 664 characters, and the model keeps its ranges.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "protocol/group_block.h"
#include "protocol/parser.h"
#include "protocol/session.h"

namespace {

using namespace k7310;

class QuietHost : public SessionHost {
 public:
  void SetTimer(TimerId, bool) override {}
  void Transmit(const Bytes&) override {}
  void CollectStoredGroup(std::string_view block) override { K7310_FUZZ_CHECK(block.size() == kBlockTextLength); }
  void SaveDumpOne(std::string_view block) override { K7310_FUZZ_CHECK(block.size() == kBlockTextLength); }
};

bool Flag(int v) { return v == 0 || v == 1; }

void CheckSession(const DeviceSession& s) {
  K7310_FUZZ_CHECK(s.RxHex.size() < kRxHexLimit);
  const RoutingFlags& f = s.flags;
  K7310_FUZZ_CHECK(Flag(f.AwaitIdAck) && Flag(f.AwaitSaveAck) && Flag(f.AwaitDumpAll) && Flag(f.AwaitDumpOne) &&
                   Flag(f.AwaitKeep) && Flag(f.AwaitRecall));
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
  s.SearchRunning = state >> 6 & 1;
  s.DumpCount = state & 0x80 ? kGroupCount - 1 : 0;

  QuietHost h;
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  for (;;) {
    const std::size_t cut = rest.find('|');
    s.RxHex.append(rest.substr(0, cut));
    ParseReceived(s, h);
    CheckSession(s);
    if (cut == std::string_view::npos) break;
    rest.remove_prefix(cut + 1);
  }
  return 0;
}
