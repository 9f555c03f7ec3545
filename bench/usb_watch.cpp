// How soon the USB device watcher notices the processor plugged in and pulled out: the simulated processor is
// plugged and unplugged 20 times behind the simulated HID library, and each change is timed from the plug to the
// change reported on the owner's thread. Also the threads of the process at rest, with the device taken, and after.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <vector>

#include "link/hidapi_platform.h"
#include "sim/hidapi/sim_usb_control.h"

namespace {

int Threads() {
  int n = 0;
  if (DIR* d = opendir("/proc/self/task")) {
    while (dirent* e = readdir(d))
      if (e->d_name[0] != '.') ++n;
    closedir(d);
  }
  return n;
}

// Runs the event loop until `done` says so or the limit passes; returns the milliseconds it took (-1: never).
template <typename Done>
double WaitFor(Done done, int limitMs) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > limitMs) return -1;
    QEventLoop loop;
    QTimer::singleShot(1, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

void Print(const char* what, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  std::printf("%s noticed after %.0f ms median, %.0f ms at most (%zu times; the watcher looks every %d ms)\n", what,
              ms[ms.size() / 2], ms.back(), ms.size(), k7310::kUsbWatchIntervalMs);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace k7310;
  QCoreApplication app(argc, argv);
  sim::usb::Reset(1);
  const int before = Threads();
  std::vector<double> arrivals, removals;
  int threadsTaken = 0;
  {
    HidapiPlatform platform;
    bool present = false;
    QObject::connect(&platform, &UsbPlatform::DevicesChanged, &platform,
                     [&](const auto&, const auto&, const std::vector<UsbDeviceInfo>& now) { present = !now.empty(); });
    platform.Start();
    WaitFor([] { return false; }, 300);
    for (int i = 0; i < 20; ++i) {
      sim::usb::Plug(true);
      const double in = WaitFor([&] { return present; }, 3000);
      UsbError error;
      if (i == 0 && platform.Open(sim::usb::kProcessorPath, error)) {
        threadsTaken = Threads();
        platform.Close();
      }
      sim::usb::Plug(false);
      const double out = WaitFor([&] { return !present; }, 3000);
      if (in < 0 || out < 0) {
        std::fprintf(stderr, "bench_usb_watch: a change was not noticed within 3 s\n");
        return 1;
      }
      arrivals.push_back(in);
      removals.push_back(out);
      // Plugs land at different places of the watcher's period.
      WaitFor([] { return false; }, 37 * (i % 7));
    }
  }
  Print("arrival", arrivals);
  Print("removal", removals);
  std::printf("threads: %d before, %d with the watcher and a taken device's reader, %d after\n", before, threadsTaken,
              Threads());
  return 0;
}
