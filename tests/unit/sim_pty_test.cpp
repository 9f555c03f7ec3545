// The real k7310-sim program behind its pseudo-terminal, driven like a controller would: a raw 9600 8N1
// terminal on the slave side, requests out, replies in.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "protocol/catalogue.h"
#include "protocol/frame.h"
#include "protocol/group_block.h"

extern char** environ;

namespace k7310 {
namespace {

using Clock = std::chrono::steady_clock;

std::int64_t MsSince(Clock::time_point t0) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count();
}

bool Exists(const std::string& path) {
  struct stat st{};
  return ::lstat(path.c_str(), &st) == 0;
}

std::string TempPath(const std::string& leaf) {
  return "/tmp/k7310-sim-test-" + std::to_string(::getpid()) + "-" + leaf;
}

// The simulator as a child process with its stdin and stdout on pipes.
class SimProcess {
 public:
  ~SimProcess() { Kill(); }

  // Starts it and reads one pty path per port from its stdout (ports 0: read nothing).
  ::testing::AssertionResult Start(std::vector<std::string> args, int ports = 1) {
    const char* exe = std::getenv("K7310_SIM");
    if (!exe || !*exe) return ::testing::AssertionFailure() << "K7310_SIM is not set";
    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return ::testing::AssertionFailure() << "pipe";
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, in[0], 0);
    posix_spawn_file_actions_adddup2(&fa, out[1], 1);
    args.insert(args.begin(), exe);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const int rc = posix_spawn(&pid_, exe, &fa, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    ::close(in[0]);
    ::close(out[1]);
    stdin_ = in[1];
    stdout_ = out[0];
    if (rc != 0) {
      pid_ = -1;
      return ::testing::AssertionFailure() << "spawn " << exe << ": " << std::strerror(rc);
    }
    for (int p = 0; p < ports; ++p) {
      std::string line;
      if (!ReadLine(line, 3000)) return ::testing::AssertionFailure() << "no pty path on stdout";
      paths.push_back(line);
    }
    return ::testing::AssertionSuccess();
  }

  bool ReadLine(std::string& line, int timeoutMs) {
    const auto t0 = Clock::now();
    for (;;) {
      if (const auto nl = buf_.find('\n'); nl != std::string::npos) {
        line = buf_.substr(0, nl);
        buf_.erase(0, nl + 1);
        return true;
      }
      const int left = timeoutMs - static_cast<int>(MsSince(t0));
      if (left <= 0) return false;
      pollfd p{stdout_, POLLIN, 0};
      if (::poll(&p, 1, left) <= 0) return false;
      char c[256];
      const ssize_t n = ::read(stdout_, c, sizeof c);
      if (n <= 0) return false;
      buf_.append(c, static_cast<std::size_t>(n));
    }
  }

  void Write(const std::string& text) {
    EXPECT_EQ(::write(stdin_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }

  // Sends a control command and returns the answer line.
  std::string Command(const std::string& cmd) {
    Write(cmd + "\n");
    std::string answer;
    EXPECT_TRUE(ReadLine(answer, 2000)) << cmd;
    return answer;
  }

  // Waits for the exit; -1 when it did not end in time.
  int WaitExit(int timeoutMs) {
    const auto t0 = Clock::now();
    while (MsSince(t0) < timeoutMs) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return -1;
  }

  int Terminate() {
    ::kill(pid_, SIGTERM);
    return WaitExit(2000);
  }

  void Kill() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
      pid_ = -1;
    }
    for (int* fd : {&stdin_, &stdout_})
      if (*fd >= 0) ::close(*fd), *fd = -1;
  }

  std::vector<std::string> paths;

 private:
  pid_t pid_ = -1;
  int stdin_ = -1;
  int stdout_ = -1;
  std::string buf_;
};

// The controller's end: the slave side in raw mode at 9600 8N1.
class Port {
 public:
  explicit Port(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return;
    termios t{};
    ::tcgetattr(fd_, &t);
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, B9600);
    ::cfsetospeed(&t, B9600);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB);
    t.c_cflag |= CS8 | CREAD | CLOCAL;
    ::tcsetattr(fd_, TCSANOW, &t);
  }
  ~Port() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool IsOpen() const { return fd_ >= 0; }

  void Send(const Bytes& b) { ASSERT_EQ(::write(fd_, b.data(), b.size()), static_cast<ssize_t>(b.size())); }

  // Reads until n bytes came, or until the time is up.
  Bytes Read(std::size_t n, int timeoutMs, int* pieces = nullptr) {
    Bytes got;
    const auto t0 = Clock::now();
    while (got.size() < n) {
      const int left = timeoutMs - static_cast<int>(MsSince(t0));
      if (left <= 0) break;
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, left) <= 0) break;
      std::uint8_t buf[1024];
      const ssize_t r = ::read(fd_, buf, sizeof buf);
      if (r <= 0) break;
      got.insert(got.end(), buf, buf + r);
      if (pieces) ++*pieces;
    }
    return got;
  }

  // What the other end does after the line was closed: POLLHUP, and a read giving 0 or EIO.
  bool SeesHangUp(int timeoutMs) {
    const auto t0 = Clock::now();
    while (MsSince(t0) < timeoutMs) {
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, 20) > 0) {
        std::uint8_t buf[256];
        const ssize_t r = ::read(fd_, buf, sizeof buf);
        if (r == 0 || (r < 0 && errno == EIO)) return true;
      }
    }
    return false;
  }

 private:
  int fd_ = -1;
};

// Replies with the checksum and end byte checked, as the frames the simulator must always send.
void ExpectFrame(const Bytes& f, std::uint8_t deviceIndex, std::uint8_t type, std::uint8_t areaCode,
                 std::size_t size) {
  ASSERT_EQ(f.size(), size) << ToSpacedHex(f);
  EXPECT_EQ(ToHexText(Bytes(f.begin(), f.begin() + 3)), "A5A5A5");
  EXPECT_EQ(f[3], deviceIndex);
  EXPECT_EQ(f[4], type);
  EXPECT_EQ(f[6], areaCode);
  EXPECT_EQ(static_cast<std::size_t>(f[8]) << 8 | f[9], size - 12);
  EXPECT_EQ(f[size - 2], FrameChecksum(f, size - 3));
  EXPECT_EQ(f.back(), kEnd);
}

std::vector<std::string> LogLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

TEST(SimPty, EachIdAnswersOnItsOwnAndAnUnusedIdGetsNothing) {
  const std::string logPath = TempPath("traffic.log");
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--ids", "1,3", "--log", logPath}));
  EXPECT_EQ(sim.paths[0].rfind("/dev/pts/", 0), 0u) << sim.paths[0];
  Port port(sim.paths[0]);
  ASSERT_TRUE(port.IsOpen());

  port.Send(QueryStatus(0));
  ExpectFrame(port.Read(20, 1000), 0, 0x52, 0x2B, 20);
  port.Send(QueryStatus(2));
  const Bytes r3 = port.Read(20, 1000);
  ExpectFrame(r3, 2, 0x52, 0x2B, 20);
  const int raw = r3[12] + 256 * r3[13];
  EXPECT_GE(raw, 1123);
  EXPECT_LE(raw, 5118);
  port.Send(QueryStatus(1));
  EXPECT_TRUE(port.Read(1, 150).empty());

  // The log has every frame on the wire, received and sent, in order.
  EXPECT_EQ(sim.Terminate(), 0);
  const auto lines = LogLines(logPath);
  ::unlink(logPath.c_str());
  ASSERT_EQ(lines.size(), 5u);
  std::vector<std::string> kinds;
  for (const std::string& l : lines) {
    std::istringstream w(l);
    long long t = -1;
    std::string kind, hex;
    w >> t >> kind >> hex;
    EXPECT_GE(t, 0) << l;
    kinds.push_back(kind + " " + hex.substr(0, 10));
  }
  EXPECT_EQ(kinds, (std::vector<std::string>{"RX A5A5A500A2", "TX A5A5A50052", "RX A5A5A502A2", "TX A5A5A50252",
                                             "RX A5A5A501A2"}));
  EXPECT_NE(lines[0].find(" RX " + ToHexText(QueryStatus(0))), std::string::npos);
  EXPECT_NE(lines[3].find(" TX " + ToHexText(r3)), std::string::npos);
}

TEST(SimPty, BlockReplyComesAtTheLinePace) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--ids", "1"}));
  Port port(sim.paths[0]);
  const auto t0 = Clock::now();
  port.Send(QueryCurrentBlock(0));
  int pieces = 0;
  const Bytes block = port.Read(332, 3000, &pieces);
  const auto elapsed = MsSince(t0);
  ExpectFrame(block, 0, 0x52, 0x28, 332);
  EXPECT_GE(elapsed, 300);  // 332 bytes at 9600 baud: about 346 ms
  EXPECT_LT(elapsed, 1500);
  EXPECT_GE(pieces, 5);  // in pieces as they fall due, not in one write
}

TEST(SimPty, UploadBodyAfterTheControllersOneSecondPause) {
  // The controller writes the header, waits 1000 ms (a little more when its timer is late) and writes the body.
  // The pty hands the header over at once, so the pause seen here is longer than on a real line.
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--ids", "1"}));
  Port port(sim.paths[0]);
  struct Case { int group; int pauseMs; };  // group 0: the active set
  const Case cases[] = {{0, 1000}, {5, 1030}};
  for (const Case& c : cases) {
    Bytes payload(kBlockPayloadSize);
    for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i * 7 + c.group + 1);
    const std::string blockText = "A5A5A500520028000140" + ToHexText(payload) + "00AA";
    const Bytes header = c.group == 0 ? WriteBlockHeader(0) : WriteStoredGroupHeader(0, c.group);
    const auto t0 = Clock::now();
    port.Send(header);
    std::this_thread::sleep_until(t0 + std::chrono::milliseconds(c.pauseMs));
    port.Send(BuildBlockBody(blockText, 0, c.group));

    port.Send(c.group == 0 ? QueryCurrentBlock(0) : ReadStoredGroup(0, c.group));
    const Bytes block = port.Read(332, 1500);
    ExpectFrame(block, 0, 0x52, c.group == 0 ? 0x28 : 0x29, 332);
    EXPECT_EQ(ToHexText(Bytes(block.begin() + 10, block.end() - 2)), ToHexText(payload))
        << "group " << c.group << " after " << c.pauseMs << " ms";
  }
}

TEST(SimPty, SilentUnitNeverAnswersTheOthersDo) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--ids", "1,3", "--silent", "3"}));
  Port port(sim.paths[0]);
  port.Send(QueryStatus(2));
  port.Send(QueryCurrentBlock(2));
  EXPECT_TRUE(port.Read(1, 200).empty());
  port.Send(QueryStatus(0));
  ExpectFrame(port.Read(20, 1000), 0, 0x52, 0x2B, 20);
}

TEST(SimPty, NoNamesUnitAnswersEverythingButTheNames) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--ids", "1", "--no-names", "1"}));
  Port port(sim.paths[0]);
  port.Send(QueryGroupNames(0));
  EXPECT_TRUE(port.Read(1, 200).empty());
  port.Send(QueryDeviceSettings(0));
  ExpectFrame(port.Read(20, 1000), 0, 0x52, 0x21, 20);
}

TEST(SimPty, GarbageSentToItIsSkipped) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--ids", "1"}));
  Port port(sim.paths[0]);
  Bytes junk{0x00, 0xFF, 0xA5, 0xA5, 0x13, 0xA5, 0xA5, 0xA5, 0x00, 0xA2, 0x00};  // noise and a cut frame
  junk.insert(junk.end(), {0xA5, 0xA5, 0xA5, 0x00, 0xA2, 0x00, 0x2B, 0x00, 0x00, 0x00, 0x88, 0xAA});  // bad checksum
  port.Send(junk);
  port.Send(QueryStatus(0));
  const Bytes r = port.Read(40, 300);
  ExpectFrame(r, 0, 0x52, 0x2B, 20);  // exactly one reply, nothing for the damaged frames
}

TEST(SimPty, NoiseComesOnlyOnceTheLineIsUsedAndNeverHidesAReply) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--ids", "1", "--noise", "--seed", "3"}));
  Port port(sim.paths[0]);
  EXPECT_TRUE(port.Read(1, 250).empty());  // nothing unprompted on an unused line
  port.Send(QueryStatus(0));
  const Bytes got = port.Read(1000, 700);
  const Bytes status = QueryStatus(0);
  // Garbage first (never a sync byte), then the reply intact.
  const auto sync = std::search(got.begin(), got.end(), status.begin(), status.begin() + 3);
  ASSERT_NE(sync, got.end()) << ToSpacedHex(got);
  EXPECT_GT(sync - got.begin(), 0);
  ExpectFrame(Bytes(sync, sync + 20), 0, 0x52, 0x2B, 20);
  // More bursts came between replies while waiting, and no noise byte is a sync byte.
  EXPECT_GT(got.size(), static_cast<std::size_t>(sync - got.begin()) + 20) << ToSpacedHex(got);
  EXPECT_EQ(std::count(got.begin(), sync, kSync), 0);
  EXPECT_EQ(std::count(sync + 20, got.end(), kSync), 0);
}

TEST(SimPty, HangUpClosesTheLineAndRemovesNodeAndLink) {
  const std::string link = TempPath("hangup-link");
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--ids", "1", "--link", link, "--hangup-after", "500"}));
  const std::string node = sim.paths[0];
  Port port(link);
  ASSERT_TRUE(port.IsOpen());
  port.Send(QueryStatus(0));
  ExpectFrame(port.Read(20, 400), 0, 0x52, 0x2B, 20);
  EXPECT_TRUE(port.SeesHangUp(1500));
  EXPECT_FALSE(Exists(node));
  EXPECT_FALSE(Exists(link));
  EXPECT_EQ(sim.Terminate(), 0);
}

TEST(SimPty, LinkReplacesAStaleOneAndGoesAtExit) {
  const std::string link = TempPath("link");
  ::unlink(link.c_str());
  ASSERT_EQ(::symlink("/dev/pts/nonexistent", link.c_str()), 0);
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--ids", "1", "--ports", "2", "--link", link}, 2));
  EXPECT_NE(sim.paths[0], sim.paths[1]);
  char target[256] = {};
  ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
  EXPECT_EQ(std::string(target), sim.paths[0]);
  {
    Port viaLink(link);
    Port second(sim.paths[1]);
    viaLink.Send(QueryStatus(0));
    second.Send(QueryStatus(0));
    ExpectFrame(viaLink.Read(20, 1000), 0, 0x52, 0x2B, 20);
    ExpectFrame(second.Read(20, 1000), 0, 0x52, 0x2B, 20);
  }
  EXPECT_EQ(sim.Terminate(), 0);
  EXPECT_FALSE(Exists(link));
  EXPECT_FALSE(Exists(sim.paths[0]));
}

TEST(SimPty, LinkOverARegularFileIsRefused) {
  const std::string file = TempPath("not-a-link");
  std::ofstream(file) << "keep me";
  SimProcess sim;
  EXPECT_FALSE(sim.Start({"--link", file}));
  EXPECT_EQ(sim.WaitExit(2000), 1);
  EXPECT_TRUE(Exists(file));
  ::unlink(file.c_str());
}

TEST(SimPty, ControlCommandsOnStdin) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--ids", "1,3", "--control"}));
  Port port(sim.paths[0]);

  EXPECT_EQ(sim.Command("silent 1"), "ok silent 1");
  port.Send(QueryStatus(0));
  EXPECT_TRUE(port.Read(1, 150).empty());
  EXPECT_EQ(sim.Command("talk 1"), "ok talk 1");
  EXPECT_EQ(sim.Command("temp 1 4054"), "ok temp 1 4054");
  EXPECT_EQ(sim.Command("atten 1 6"), "ok atten 1 6");
  port.Send(QueryStatus(0));
  const Bytes status = port.Read(20, 1000);
  ExpectFrame(status, 0, 0x52, 0x2B, 20);
  EXPECT_EQ(status[12] + 256 * status[13], 4054);
  EXPECT_EQ(status[14], 6);

  EXPECT_EQ(sim.Command("no-names 3"), "ok no-names 3");
  port.Send(QueryGroupNames(2));
  EXPECT_TRUE(port.Read(1, 150).empty());
  EXPECT_EQ(sim.Command("names 3"), "ok names 3");
  port.Send(QueryGroupNames(2));
  ExpectFrame(port.Read(412, 1500), 2, 0x52, 0x26, 412);

  EXPECT_EQ(sim.Command("noise on"), "ok noise on");
  port.Send(QueryStatus(0));
  const Bytes noisy = port.Read(21, 500);
  ASSERT_FALSE(noisy.empty());
  EXPECT_NE(noisy[0], kSync);
  EXPECT_EQ(sim.Command("noise off"), "ok noise off");

  EXPECT_EQ(sim.Command("silent 9"), "error no such unit or port: silent 9");
  EXPECT_EQ(sim.Command("reboot").rfind("error", 0), 0u);

  const std::string node = sim.paths[0];
  EXPECT_EQ(sim.Command("hangup"), "ok hangup");
  EXPECT_TRUE(port.SeesHangUp(1000));
  EXPECT_FALSE(Exists(node));
  EXPECT_EQ(sim.Command("quit"), "ok quit");
  EXPECT_EQ(sim.WaitExit(2000), 0);
}

TEST(SimPty, StdinIsLeftAloneWithoutControl) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start({"--ids", "1"}));
  Port port(sim.paths[0]);
  sim.Write("silent 1\nquit\n");
  std::string answer;
  EXPECT_FALSE(sim.ReadLine(answer, 300)) << answer;
  port.Send(QueryStatus(0));
  ExpectFrame(port.Read(20, 1000), 0, 0x52, 0x2B, 20);  // neither silenced nor gone
  EXPECT_EQ(sim.Terminate(), 0);
}

TEST(SimPty, HelpAndBadOptions) {
  {
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--help"}, 0));
    std::string all, line;
    while (sim.ReadLine(line, 1000)) all += line + "\n";
    EXPECT_EQ(sim.WaitExit(2000), 0);
    for (const char* opt : {"--ids", "--ports", "--link", "--silent", "--no-names", "--noise", "--hangup-after",
                            "--log", "--seed", "--control", "silent ID", "talk ID", "no-names ID", "noise on|off", "hangup",
                            "quit"})
      EXPECT_NE(all.find(opt), std::string::npos) << opt;
  }
  SimProcess bad;
  EXPECT_FALSE(bad.Start({"--ids", "0"}));
  EXPECT_EQ(bad.WaitExit(2000), 2);
}

}  // namespace
}  // namespace k7310
