// k7310-sim: K_7310 processors behind pseudo-terminals, for the controller to connect to without hardware.
// One single-threaded poll() loop serves every bus, the stop signals and, with --control, the control commands on
// stdin. Without it stdin is never read: a simulator sent to the background of a shell would stop on terminal input.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "protocol/frame.h"
#include "sim/options.h"
#include "sim/pty_bus.h"

namespace k7310::sim {
namespace {

int g_signalPipe[2] = {-1, -1};

void OnStopSignal(int) {
  const int saved = errno;
  const char c = 's';
  [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &c, 1);
  errno = saved;
}

class Simulator {
 public:
  explicit Simulator(SimOptions options)
      : options_(std::move(options)), start_(Clock::now()), stdin_(options_.control ? STDIN_FILENO : -1) {}

  int Run();

 private:
  using Clock = std::chrono::steady_clock;

  std::int64_t NowUs() const {
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start_).count();
  }
  bool SetUp();
  bool MakeLink();
  void RemoveLink();
  void HangUp(std::size_t bus, std::int64_t nowUs);
  void ReadControl();
  void HandleControl(const std::string& line);
  void LogLine(std::int64_t nowUs, const char* tag, std::span<const std::uint8_t> bytes, std::size_t bus);
  int PollTimeoutMs(std::int64_t nowUs) const;

  SimOptions options_;
  Clock::time_point start_;
  std::vector<std::unique_ptr<PtyBus>> buses_;
  std::FILE* log_ = nullptr;
  bool linkMade_ = false;
  bool hungUpByTimer_ = false;
  bool quit_ = false;
  int stdin_;  // the control channel; -1 when not asked for, or once it closed
  std::string controlBuf_;
};

bool Simulator::SetUp() {
  if (!options_.logPath.empty()) {
    log_ = std::fopen(options_.logPath.c_str(), "w");
    if (!log_) {
      std::fprintf(stderr, "k7310-sim: %s: %s\n", options_.logPath.c_str(), std::strerror(errno));
      return false;
    }
  }
  for (int p = 0; p < options_.ports; ++p) {
    BusOptions bo;
    bo.seed = options_.seed + static_cast<std::uint32_t>(p) * 1000003u;
    bo.replyDelayMs = options_.replyDelayMs;
    auto bus = std::make_unique<PtyBus>(bo);
    for (int id : options_.ids) {
      Unit& u = bus->Model().AddUnit(id);
      for (int s : options_.silent) u.silent = u.silent || s == id;
      for (int s : options_.noNames) u.noNames = u.noNames || s == id;
    }
    bus->Model().SetNoise(options_.noise, 0);
    const std::size_t index = buses_.size();
    bus->onTraffic = [this, index](std::int64_t t, Traffic kind, std::span<const std::uint8_t> bytes) {
      LogLine(t, kind == Traffic::Rx ? "RX" : kind == Traffic::Tx ? "TX" : "NOISE", bytes, index);
    };
    std::string error;
    if (!bus->Open(error)) {
      std::fprintf(stderr, "k7310-sim: %s\n", error.c_str());
      return false;
    }
    buses_.push_back(std::move(bus));
  }
  return options_.link.empty() || MakeLink();
}

bool Simulator::MakeLink() {
  struct stat st{};
  if (::lstat(options_.link.c_str(), &st) == 0) {
    // Only a link left behind by an earlier run is replaced; never a file or a device of someone else.
    if (!S_ISLNK(st.st_mode)) {
      std::fprintf(stderr, "k7310-sim: %s exists and is not a symbolic link\n", options_.link.c_str());
      return false;
    }
    ::unlink(options_.link.c_str());
  }
  if (::symlink(buses_.front()->SlavePath().c_str(), options_.link.c_str()) != 0) {
    std::fprintf(stderr, "k7310-sim: symlink %s: %s\n", options_.link.c_str(), std::strerror(errno));
    return false;
  }
  linkMade_ = true;
  return true;
}

void Simulator::RemoveLink() {
  if (!linkMade_) return;
  linkMade_ = false;
  // Leave it alone if someone has pointed it elsewhere meanwhile.
  char target[4096];
  const ssize_t n = ::readlink(options_.link.c_str(), target, sizeof target - 1);
  if (n >= 0 && std::string(target, static_cast<std::size_t>(n)) == buses_.front()->SlavePath())
    ::unlink(options_.link.c_str());
}

void Simulator::LogLine(std::int64_t nowUs, const char* tag, std::span<const std::uint8_t> bytes, std::size_t bus) {
  if (!log_) return;
  std::fprintf(log_, "%lld %s", static_cast<long long>(nowUs / 1000), tag);
  if (!bytes.empty()) std::fprintf(log_, " %s", ToHexText(bytes).c_str());
  if (buses_.size() > 1 || options_.ports > 1) std::fprintf(log_, " port=%zu", bus + 1);
  std::fputc('\n', log_);
  std::fflush(log_);
}

void Simulator::HangUp(std::size_t bus, std::int64_t nowUs) {
  if (!buses_[bus]->IsOpen()) return;
  // The link goes first, so that whoever sees the hang-up finds it gone.
  if (bus == 0) RemoveLink();
  buses_[bus]->HangUp();
  LogLine(nowUs, "HANGUP", {}, bus);
}

void Simulator::HandleControl(const std::string& line) {
  if (line.find_first_not_of(" \t\r") == std::string::npos) return;
  std::string error;
  const auto cmd = ParseControl(line, error);
  if (!cmd) {
    std::printf("error %s\n", error.c_str());
    std::fflush(stdout);
    return;
  }
  using K = ControlCommand::Kind;
  bool found = false;
  for (std::size_t b = 0; b < buses_.size(); ++b) {
    Bus& bus = buses_[b]->Model();
    switch (cmd->kind) {
      case K::Noise:
        bus.SetNoise(cmd->value != 0, NowUs() / 1000);
        found = true;
        break;
      case K::HangUp:
        if (cmd->value == 0 || static_cast<std::size_t>(cmd->value) == b + 1) {
          HangUp(b, NowUs());
          found = true;
        }
        break;
      case K::Quit:
        quit_ = true;
        found = true;
        break;
      default:
        for (Unit& u : bus.Units()) {
          if (u.Id() != cmd->id) continue;
          found = true;
          if (cmd->kind == K::Silent) u.silent = true;
          if (cmd->kind == K::Talk) u.silent = u.noNames = false;
          if (cmd->kind == K::NoNames) u.noNames = true;
          if (cmd->kind == K::Names) u.noNames = false;
          if (cmd->kind == K::Temp) u.FixTemperatureRaw(cmd->value);
          if (cmd->kind == K::Atten) u.SetAttenuationDb(cmd->value);
        }
    }
  }
  const std::size_t first = line.find_first_not_of(" \t");
  const std::string text = line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
  if (found) {
    std::printf("ok %s\n", text.c_str());
  } else {
    std::printf("error no such unit or port: %s\n", text.c_str());
  }
  std::fflush(stdout);
}

void Simulator::ReadControl() {
  char buf[512];
  const ssize_t n = ::read(stdin_, buf, sizeof buf);
  if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
  if (n <= 0) {
    // Control channel closed: keep serving, just stop listening to it.
    stdin_ = -1;
    if (!controlBuf_.empty()) HandleControl(controlBuf_);
    controlBuf_.clear();
    return;
  }
  controlBuf_.append(buf, static_cast<std::size_t>(n));
  for (std::size_t nl; (nl = controlBuf_.find('\n')) != std::string::npos;) {
    const std::string line = controlBuf_.substr(0, nl);
    controlBuf_.erase(0, nl + 1);
    HandleControl(line);
  }
  if (controlBuf_.size() > 4096) controlBuf_.clear();  // no line that long is a command
}

int Simulator::PollTimeoutMs(std::int64_t nowUs) const {
  std::optional<std::int64_t> wake;
  for (const auto& b : buses_)
    if (const auto w = b->NextWakeUs()) wake = wake ? std::min(*wake, *w) : *w;
  if (options_.hangupAfterMs && !hungUpByTimer_) {
    const std::int64_t w = *options_.hangupAfterMs * 1000;
    wake = wake ? std::min(*wake, w) : w;
  }
  if (!wake) return -1;
  if (*wake <= nowUs) return 0;
  const std::int64_t ms = (*wake - nowUs + 999) / 1000;  // rounded up: never wake early and spin
  return static_cast<int>(std::min<std::int64_t>(ms, 60000));
}

int Simulator::Run() {
  if (!SetUp()) {
    RemoveLink();
    return 1;
  }
  for (const auto& b : buses_) std::printf("%s\n", b->SlavePath().c_str());
  std::fflush(stdout);

  while (!quit_) {
    std::vector<pollfd> fds;
    fds.push_back({g_signalPipe[0], POLLIN, 0});
    fds.push_back({stdin_, POLLIN, 0});  // a negative fd is skipped by poll
    for (const auto& b : buses_) {
      short events = POLLIN;
      if (b->WriteBlocked()) events |= POLLOUT;
      fds.push_back({b->MasterFd(), events, 0});
    }
    const int rc = ::poll(fds.data(), fds.size(), PollTimeoutMs(NowUs()));
    if (rc < 0 && errno != EINTR) {
      std::fprintf(stderr, "k7310-sim: poll: %s\n", std::strerror(errno));
      break;
    }
    if (rc > 0 && fds[0].revents) break;  // SIGTERM or SIGINT
    // Control first: a command written before a request must hold for that request.
    if (rc > 0 && stdin_ >= 0 && fds[1].revents) ReadControl();
    const std::int64_t now = NowUs();
    if (options_.hangupAfterMs && !hungUpByTimer_ && now >= *options_.hangupAfterMs * 1000) {
      hungUpByTimer_ = true;
      for (std::size_t b = 0; b < buses_.size(); ++b) HangUp(b, now);
    }
    for (std::size_t b = 0; b < buses_.size(); ++b) {
      PtyBus& bus = *buses_[b];
      if (rc > 0 && bus.IsOpen() && (fds[2 + b].revents & (POLLIN | POLLHUP | POLLERR))) bus.OnReadable(now);
      bus.Service(now);
    }
  }

  RemoveLink();
  for (const auto& b : buses_) b->HangUp();
  if (log_) std::fclose(log_);
  return 0;
}

}  // namespace
}  // namespace k7310::sim

int main(int argc, char** argv) {
  using namespace k7310::sim;
  SimOptions options;
  std::string error;
  if (!ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    std::fprintf(stderr, "k7310-sim: %s\nTry 'k7310-sim --help'.\n", error.c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(UsageText(), stdout);
    return 0;
  }
  if (::pipe(g_signalPipe) != 0) return 1;
  for (int fd : g_signalPipe) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
  struct sigaction sa{};
  sa.sa_handler = OnStopSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
  std::signal(SIGPIPE, SIG_IGN);  // a closed stdout or log reader must not kill the buses
  Simulator sim(std::move(options));
  return sim.Run();
}
