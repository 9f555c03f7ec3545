#include "sim/pty_bus.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace k7310::sim {

namespace {

// Replies pile up only when nobody reads the other end; beyond this they are dropped.
constexpr std::size_t kMaxQueuedBytes = 64 * 1024;

bool SetRaw9600(int fd) {
  termios t{};
  if (tcgetattr(fd, &t) != 0) return false;
  cfmakeraw(&t);
  cfsetispeed(&t, B9600);
  cfsetospeed(&t, B9600);
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB);
#ifdef CRTSCTS
  t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
#endif
  t.c_cflag |= CS8 | CREAD | CLOCAL;
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  return tcsetattr(fd, TCSANOW, &t) == 0;
}

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

PtyBus::PtyBus(BusOptions options) : bus_([&] {
  options.keepLog = false;  // the front-end runs for hours; it logs through onTraffic
  return options;
}()) {
  bus_.onLog = [this](const LogEntry& e) {
    if (e.kind == Traffic::Rx && onTraffic) onTraffic(nowUs_, Traffic::Rx, e.bytes);
  };
}

PtyBus::~PtyBus() {
  CloseFd(ownSlave_);
  CloseFd(master_);
}

bool PtyBus::Open(std::string& error) {
  const int m = posix_openpt(O_RDWR | O_NOCTTY);
  if (m < 0) {
    error = std::string("posix_openpt: ") + std::strerror(errno);
    return false;
  }
  master_ = m;
  const char* name = nullptr;
  if (grantpt(m) != 0 || unlockpt(m) != 0 || (name = ptsname(m)) == nullptr) {
    error = std::string("pseudo-terminal set-up: ") + std::strerror(errno);
    CloseFd(master_);
    return false;
  }
  slavePath_ = name;
  ownSlave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (ownSlave_ < 0 || !SetRaw9600(ownSlave_)) {
    error = slavePath_ + ": " + std::strerror(errno);
    CloseFd(ownSlave_);
    CloseFd(master_);
    return false;
  }
  fcntl(master_, F_SETFD, FD_CLOEXEC);
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  return true;
}

void PtyBus::OnReadable(std::int64_t nowUs) {
  if (master_ < 0) return;
  nowUs_ = nowUs;
  std::array<std::uint8_t, 4096> buf;
  for (;;) {
    const ssize_t n = ::read(master_, buf.data(), buf.size());
    if (n > 0) {
      Queue(bus_.Receive(std::span<const std::uint8_t>(buf.data(), static_cast<std::size_t>(n)), nowUs / 1000));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    // Our own slave descriptor keeps the master from ever reading end-of-file; if it does, the line is gone
    // and polling it further would only spin.
    std::fprintf(stderr, "k7310-sim: %s: read failed (%s), closing the bus\n", slavePath_.c_str(),
                 n == 0 ? "end of file" : std::strerror(errno));
    HangUp();
    return;
  }
  Flush(nowUs);
}

void PtyBus::Service(std::int64_t nowUs) {
  if (master_ < 0) return;
  nowUs_ = nowUs;
  Queue(bus_.Advance(nowUs / 1000));
  Flush(nowUs);
}

std::optional<std::int64_t> PtyBus::NextWakeUs() const {
  if (master_ < 0) return std::nullopt;
  std::optional<std::int64_t> wake;
  if (!blocked_) wake = pacer_.NextWakeUs();
  if (const auto ms = bus_.NextEventMs()) wake = wake ? std::min(*wake, *ms * 1000) : *ms * 1000;
  return wake;
}

void PtyBus::HangUp() {
  CloseFd(ownSlave_);
  CloseFd(master_);
  pacer_.Clear();
  blocked_ = false;
  bus_.HangUp();
}

void PtyBus::Queue(std::vector<Outgoing> out) {
  for (Outgoing& o : out) {
    if (pacer_.QueuedBytes() + o.bytes.size() > kMaxQueuedBytes) continue;
    pacer_.Enqueue(std::move(o.bytes), o.kind, o.dueMs * 1000);
  }
}

void PtyBus::Flush(std::int64_t nowUs) {
  blocked_ = false;
  for (;;) {
    const std::span<const std::uint8_t> due = pacer_.Due(nowUs);
    if (due.empty()) return;
    const ssize_t n = ::write(master_, due.data(), due.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        blocked_ = true;
      } else {
        std::fprintf(stderr, "k7310-sim: %s: write failed (%s)\n", slavePath_.c_str(), std::strerror(errno));
        pacer_.Clear();  // retrying at once would spin
      }
      return;
    }
    if (auto done = pacer_.Consume(static_cast<std::size_t>(n)); done && onTraffic)
      onTraffic(nowUs, done->kind, done->bytes);
    if (static_cast<std::size_t>(n) < due.size()) {
      blocked_ = true;
      return;
    }
  }
}

}  // namespace k7310::sim
