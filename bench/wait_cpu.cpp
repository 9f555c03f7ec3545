// bench_wait: the processor time that WaitWithMessages uses while it waits, as a share of one core. The wait must
// sleep in the event loop, not spin.
#include <sys/resource.h>

#include <QApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "link/wait.h"

namespace {

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void Measure(const char* what, int ms) {
  const auto wall0 = std::chrono::steady_clock::now();
  const double cpu0 = CpuSeconds();
  k7310::WaitWithMessages(ms);
  const double cpu = CpuSeconds() - cpu0;
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
  std::printf("wait %-32s %5d ms: wall %.3f s, cpu %.1f ms, %.3f %% of one core\n", what, ms, wall, cpu * 1e3,
              100.0 * cpu / wall);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int ms = argc > 1 ? std::atoi(argv[1]) : 5000;
  Measure("(nothing else running)", ms);
  // The connected window keeps a 10 ms scan timer running during its waits.
  QTimer scan;
  int ticks = 0;
  QObject::connect(&scan, &QTimer::timeout, [&ticks] { ++ticks; });
  scan.start(10);
  Measure("(with a 10 ms timer running)", ms);
  std::printf("(the 10 ms timer fired %d times)\n", ticks);
  return 0;
}
