// Shared fixtures of the protocol tests: block texts and a host that runs the timers on a virtual clock.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "protocol/frame.h"
#include "protocol/session.h"

namespace k7310::test {

inline constexpr const char* kNeutralChannel = "C801000000000000";
inline constexpr const char* kNeutralCrossover = "00000000F3000000";
inline constexpr const char* kNeutralLimiter = "1300000000000000";
inline constexpr const char* kNeutralBand = "0000780078000400";
inline constexpr const char* kNeutralMain = "00002D0100000000";

// A group with every parameter at its neutral value, as an active-group reply of device index 0; its checksum byte
// is CD.
inline std::string NeutralBlockText() {
  std::string t = "A5A5A500520028000140";
  for (int c = 0; c < 3; ++c) {
    t += kNeutralChannel;
    t += kNeutralCrossover;
    t += kNeutralLimiter;
    for (int b = 0; b < 6; ++b) t += kNeutralBand;
  }
  t += kNeutralMain;
  t += kNeutralCrossover;
  for (int b = 0; b < 6; ++b) t += kNeutralBand;
  t += std::string(5 * 16, '0');
  t += "CDAA";
  return t;
}

// Replaces block byte n of a block text.
inline void PutByte(std::string& block, std::size_t n, int value) {
  static const char* d = "0123456789ABCDEF";
  block[2 * n] = d[(value >> 4) & 15];
  block[2 * n + 1] = d[value & 15];
}

// A driver that records what the scheduler asks for and runs the timers on a virtual clock.
class RecordingHost : public SessionDriver {
 public:
  struct Sent {
    long long t;
    std::string hex;
  };

  void SetTimer(TimerId id, bool on) override {
    auto& st = timers_[id];
    if (on && !st.on) st.next = now + Info(id).intervalMs;
    st.on = on;
    switches.push_back(std::string(Info(id).name) + (on ? "+" : "-"));
  }
  void Send(const Bytes& frame) override {
    if (!frame.empty()) sent.push_back({now, ToSpacedHex(frame)});
  }
  bool On(TimerId id) const {
    auto it = timers_.find(id);
    return it != timers_.end() && it->second.on;
  }
  void Handle(TimerId id, std::function<void()> f) { handlers_[id] = std::move(f); }
  // Advances the clock to `until`, firing enabled timers in time order.
  void RunUntil(long long until) {
    for (;;) {
      TimerId due{};
      long long best = until + 1;
      for (auto& [id, st] : timers_)
        if (st.on && st.next < best) best = st.next, due = id;
      if (best > until) break;
      now = best;
      timers_[due].next = now + Info(due).intervalMs;
      if (auto h = handlers_.find(due); h != handlers_.end()) h->second();
    }
    now = until;
  }

  void ReportProgress(int p, bool done) override {
    progress.push_back(p);
    if (done) ++progressFinished;
  }

  long long now = 0;
  std::vector<Sent> sent;
  std::vector<std::string> switches;
  std::vector<int> progress;
  int progressFinished = 0;

 private:
  struct State {
    bool on = false;
    long long next = 0;
  };
  std::map<TimerId, State> timers_;
  std::map<TimerId, std::function<void()>> handlers_;
};

}  // namespace k7310::test
