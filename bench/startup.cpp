// bench_startup: starts a program that prints "first-paint: <CLOCK_MONOTONIC microseconds>" on stdout, and reports
// the time from the start of the process to its first painted window and its resident memory (VmRSS) then and
// after a settling time. Several runs; the median is the figure.
//
//   bench_startup [--runs N] [--settle MS] [--timeout MS] [--label TEXT] -- PROGRAM [ARGS...]
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

namespace {

long long MonotonicMicros() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

// A field of /proc/PID/status in kB ("VmRSS", "VmHWM"); -1 when it cannot be read.
long StatusKb(pid_t pid, const char* field) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  const std::string key = std::string(field) + ":";
  while (std::getline(in, line))
    if (line.compare(0, key.size(), key) == 0) return std::atol(line.c_str() + key.size());
  return -1;
}

struct Run {
  double firstPaintMs = -1;
  long rssAtPaintKb = -1;
  long rssSettledKb = -1;
  long hwmKb = -1;
};

// Reads the child's output until the first-paint line or the deadline; drains it afterwards so it never blocks.
class Output {
 public:
  explicit Output(int fd) : fd_(fd) {}
  // Waits until deadline (monotonic us) for a line starting with prefix; returns the rest of it, or "".
  std::string WaitFor(const char* prefix, long long deadline) {
    const std::size_t n = std::strlen(prefix);
    for (;;) {
      std::size_t eol;
      while ((eol = buf_.find('\n')) != std::string::npos) {
        std::string line = buf_.substr(0, eol);
        buf_.erase(0, eol + 1);
        if (line.compare(0, n, prefix) == 0) return line.substr(n);
      }
      if (!Read(deadline)) return "";
    }
  }
  void DrainUntil(long long deadline) {
    while (Read(deadline)) buf_.clear();
  }

 private:
  bool Read(long long deadline) {
    const long long left = deadline - MonotonicMicros();
    if (left <= 0 || closed_) return false;
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left / 1000) + 1) <= 0) return MonotonicMicros() < deadline;
    char chunk[4096];
    const ssize_t got = read(fd_, chunk, sizeof chunk);
    if (got <= 0) {
      closed_ = true;
      return false;
    }
    buf_.append(chunk, static_cast<std::size_t>(got));
    return true;
  }
  int fd_;
  bool closed_ = false;
  std::string buf_;
};

Run RunOnce(char** argv, int settleMs, int timeoutMs) {
  Run r;
  int out[2];
  if (pipe(out) != 0) return r;
  const long long t0 = MonotonicMicros();
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    execvp(argv[0], argv);
    std::perror(argv[0]);
    _exit(127);
  }
  close(out[1]);
  Output output(out[0]);
  const std::string at = output.WaitFor("first-paint: ", t0 + timeoutMs * 1000LL);
  if (!at.empty()) {
    r.firstPaintMs = static_cast<double>(std::atoll(at.c_str()) - t0) / 1000.0;
    r.rssAtPaintKb = StatusKb(pid, "VmRSS");
    output.DrainUntil(MonotonicMicros() + settleMs * 1000LL);
    r.rssSettledKb = StatusKb(pid, "VmRSS");
    r.hwmKb = StatusKb(pid, "VmHWM");
  } else {
    std::fprintf(stderr, "bench_startup: no first-paint line from %s within %d ms\n", argv[0], timeoutMs);
  }
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  close(out[0]);
  return r;
}

template <typename T>
T Median(std::vector<T> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5, settleMs = 2000, timeoutMs = 20000;
  std::string label;
  int i = 1;
  for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    if (i + 1 >= argc) break;
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[++i]));
    else if (std::strcmp(argv[i], "--settle") == 0) settleMs = std::atoi(argv[++i]);
    else if (std::strcmp(argv[i], "--timeout") == 0) timeoutMs = std::atoi(argv[++i]);
    else if (std::strcmp(argv[i], "--label") == 0) label = argv[++i];
    else break;
  }
  if (i >= argc || std::strcmp(argv[i], "--") != 0 || i + 1 >= argc) {
    std::fprintf(stderr, "usage: bench_startup [--runs N] [--settle MS] [--timeout MS] [--label TEXT] -- PROGRAM [ARGS...]\n");
    return 2;
  }
  char** command = argv + i + 1;
  if (label.empty()) label = command[0];
  std::vector<double> paint;
  std::vector<long> rssPaint, rssSettled, hwm;
  for (int k = 0; k < runs; ++k) {
    const Run r = RunOnce(command, settleMs, timeoutMs);
    if (r.firstPaintMs < 0) return 1;
    std::printf("%s run %d: first paint %.1f ms, VmRSS %ld kB at paint, %ld kB after %d ms, VmHWM %ld kB\n",
                label.c_str(), k + 1, r.firstPaintMs, r.rssAtPaintKb, r.rssSettledKb, settleMs, r.hwmKb);
    paint.push_back(r.firstPaintMs);
    rssPaint.push_back(r.rssAtPaintKb);
    rssSettled.push_back(r.rssSettledKb);
    hwm.push_back(r.hwmKb);
  }
  std::printf("%s median of %d: first paint %.1f ms (min %.1f), VmRSS %.1f MiB at paint, %.1f MiB settled, "
              "VmHWM %.1f MiB\n",
              label.c_str(), runs, Median(paint), *std::min_element(paint.begin(), paint.end()),
              static_cast<double>(Median(rssPaint)) / 1024.0, static_cast<double>(Median(rssSettled)) / 1024.0,
              static_cast<double>(Median(hwm)) / 1024.0);
  std::fflush(stdout);
  return 0;
}
