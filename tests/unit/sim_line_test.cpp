// The simulator's line pacing and its command line and control commands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/options.h"
#include "sim/pacer.h"

namespace k7310::sim {
namespace {

TEST(SimPacer, BytesLeaveAtTheLinePaceInBatches) {
  Pacer pacer(8);
  pacer.Enqueue(Bytes(332, 0x11), Traffic::Tx, 1000);
  EXPECT_TRUE(pacer.Due(1000).empty());
  EXPECT_EQ(pacer.NextWakeUs(), Pacer::ByteDoneUs(1000, 7));
  EXPECT_EQ(Pacer::ByteDoneUs(0, 0), 1042);      // 10 bits at 9600 baud, never early
  EXPECT_EQ(Pacer::ByteDoneUs(0, 959), 1000000);  // 960 bytes a second, no drift
  EXPECT_EQ(pacer.Due(1000 + 100000).size(), 96u);

  // Writing what is due as it falls due: the piece is complete after about 346 ms, not before.
  std::size_t written = 0;
  std::optional<Pacer::Finished> done;
  std::int64_t t = 1000;
  while (!done) {
    t = *pacer.NextWakeUs();
    const auto due = pacer.Due(t);
    ASSERT_FALSE(due.empty());
    written += due.size();
    done = pacer.Consume(due.size());
  }
  EXPECT_EQ(written, 332u);
  EXPECT_EQ(t, Pacer::ByteDoneUs(1000, 331));
  EXPECT_NEAR(static_cast<double>(t - 1000), 345833.0, 1.0);
  EXPECT_EQ(done->kind, Traffic::Tx);
  EXPECT_TRUE(pacer.Empty());
}

TEST(SimPacer, PiecesQueueBehindEachOtherAndWaitForTheirReadyTime) {
  Pacer pacer(1);
  pacer.Enqueue(Bytes{1, 2, 3}, Traffic::Noise, 0);
  pacer.Enqueue(Bytes(12, 0xA5), Traffic::Tx, 0);           // behind the noise
  pacer.Enqueue(Bytes{9}, Traffic::Tx, 1000000);            // not before 1 s
  EXPECT_EQ(pacer.Due(Pacer::ByteDoneUs(0, 2)).size(), 3u);
  const auto noise = pacer.Consume(3);
  ASSERT_TRUE(noise);
  EXPECT_EQ(noise->kind, Traffic::Noise);
  EXPECT_EQ(noise->bytes, (Bytes{1, 2, 3}));
  EXPECT_EQ(pacer.Due(Pacer::ByteDoneUs(0, 3)).size(), 1u);  // the reply starts when the noise has gone
  // A write that takes only part of what is due resumes where it stopped.
  EXPECT_FALSE(pacer.Consume(1));
  EXPECT_EQ(pacer.Due(Pacer::ByteDoneUs(0, 14)).size(), 11u);
  EXPECT_TRUE(pacer.Consume(11));
  EXPECT_TRUE(pacer.Due(999999).empty());
  EXPECT_EQ(pacer.NextWakeUs(), Pacer::ByteDoneUs(1000000, 0));
}

TEST(SimOptions, CommandLine) {
  SimOptions o;
  std::string error;
  ASSERT_TRUE(ParseOptions({"--ids", "1,3", "--ports=2", "--link", "/tmp/x", "--silent", "3", "--no-names", "1,3",
                            "--noise", "--hangup-after", "500", "--log", "f.log", "--seed", "9", "--reply-delay",
                            "0"},
                           o, error))
      << error;
  EXPECT_EQ(o.ids, (std::vector<int>{1, 3}));
  EXPECT_EQ(o.ports, 2);
  EXPECT_EQ(o.link, "/tmp/x");
  EXPECT_EQ(o.silent, (std::vector<int>{3}));
  EXPECT_EQ(o.noNames, (std::vector<int>{1, 3}));
  EXPECT_TRUE(o.noise);
  EXPECT_EQ(o.hangupAfterMs, 500);
  EXPECT_EQ(o.logPath, "f.log");
  EXPECT_EQ(o.seed, 9u);
  EXPECT_EQ(o.replyDelayMs, 0);

  SimOptions d;
  ASSERT_TRUE(ParseOptions({}, d, error));
  EXPECT_EQ(d.ids, (std::vector<int>{1}));
  EXPECT_EQ(d.ports, 1);
  EXPECT_FALSE(d.hangupAfterMs);

  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{"--ids", "0"}, {"--ids", "256"}, {"--ids", "1,1"}, {"--ids", "1,"},
                                             {"--ids"}, {"--ports", "0"}, {"--hangup-after", "-1"}, {"--frobnicate"},
                                             {"--seed", "x"}}) {
    SimOptions b;
    EXPECT_FALSE(ParseOptions(bad, b, error)) << bad[0];
    EXPECT_FALSE(error.empty());
  }
}

TEST(SimOptions, ControlCommands) {
  using K = ControlCommand::Kind;
  struct Case {
    const char* line;
    bool ok;
    K kind;
    int id, value;
  };
  const std::vector<Case> cases = {
      {"silent 3", true, K::Silent, 3, 0},     {"talk 3", true, K::Talk, 3, 0},
      {"no-names 1", true, K::NoNames, 1, 0},  {"names 1", true, K::Names, 1, 0},
      {"noise on", true, K::Noise, 0, 1},      {"noise off\r", true, K::Noise, 0, 0},
      {"hangup", true, K::HangUp, 0, 0},       {"hangup 2", true, K::HangUp, 0, 2},
      {"quit", true, K::Quit, 0, 0},           {"temp 1 4000", true, K::Temp, 1, 4000},
      {"atten 3 12", true, K::Atten, 3, 12},   {"silent", false, K::Quit, 0, 0},
      {"silent 0", false, K::Quit, 0, 0},      {"noise maybe", false, K::Quit, 0, 0},
      {"reboot", false, K::Quit, 0, 0},        {"quit now", false, K::Quit, 0, 0},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto cmd = ParseControl(c.line, error);
    ASSERT_EQ(cmd.has_value(), c.ok) << c.line;
    if (!c.ok) {
      EXPECT_FALSE(error.empty()) << c.line;
      continue;
    }
    EXPECT_EQ(cmd->kind, c.kind) << c.line;
    EXPECT_EQ(cmd->id, c.id) << c.line;
    EXPECT_EQ(cmd->value, c.value) << c.line;
  }
}

}  // namespace
}  // namespace k7310::sim
