// bench_bare_window: an empty QMainWindow of the controller's fixed size, nothing else. Prints the time of its
// first paint like controller_en --report-first-paint; ends after --quit-after MS, or when closed.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <cstdlib>

#include "app/demo_options.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int quitAfterMs = -1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quit-after") == 0 && i + 1 < argc) {
      quitAfterMs = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--report-first-paint") != 0) {
      std::fprintf(stderr, "usage: bench_bare_window [--report-first-paint] [--quit-after MS]\n");
      return 2;
    }
  }
  QMainWindow window;
  window.setFixedSize(750, 753);
  // Always reported: timing the first paint is what this program is for.
  new k7310::FirstPaintReporter(&window);
  if (quitAfterMs >= 0) QTimer::singleShot(quitAfterMs, &app, &QApplication::quit);
  window.show();
  return app.exec();
}
