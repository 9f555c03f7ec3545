// Command-line options for demonstrations and measurements: connect by themselves once the start-up sweep has
// ended, shape an EQ and open its panel, save a picture of the window, report the first paint, end after a while. They are taken off the
// argument list before the rest of it is read as extra port paths.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace k7310 {

class DeviceBackend;
class TForm1;

struct DemoOptions {
  bool connect = false;       // --connect
  int id = 1;                 // --id N, 1..255: the device ID picked before connecting
  QString screenshot;         // --screenshot PATH: PNG of the whole window once connected
  int quitAfterMs = -1;       // --quit-after MS; -1 = stay until the window is closed
  bool reportFirstPaint = false;  // --report-first-paint
  bool eqDemo = false;        // --eq-demo: shape the High output's EQ and open its panel (before a screenshot)
};

// Takes the demo options (both "--opt VALUE" and "--opt=VALUE") out of args and leaves everything else in place.
// False with a message in error for a malformed value or a value that is missing.
bool TakeDemoOptions(QStringList& args, DemoOptions& options, QString& error);

// The whole command line: --help, --version, the demo options, and serial device paths for the port list.
struct CommandLine {
  enum class Action { Run, Help, Version, Error } action = Action::Run;
  DemoOptions demo;
  QStringList ports;  // serial device paths to add to the port list
  QString error;
};
CommandLine ParseCommandLine(const QStringList& args);  // without the program name
// The usage text of --help.
QString UsageText(const QString& program);

// Arms what the options ask for on the started window; what it sets up lives as long as the window.
void StartDemo(const DemoOptions& options, TForm1& form, DeviceBackend& device);

// CLOCK_MONOTONIC in microseconds: comparable between processes, so a harness can time another program's start.
inline long long MonotonicMicros() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

// Prints "first-paint: <monotonic microseconds>" on stdout once the first paint pass of the window has ended (the
// first paint event that reaches the window or any of its children, then back in the event loop). Watches the
// whole application, since a window that is covered by its children may never be painted itself.
class FirstPaintReporter : public QObject {
 public:
  explicit FirstPaintReporter(QWidget* window) : QObject(window), window_(window) {
    QCoreApplication::instance()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == window_) {
      QCoreApplication::instance()->removeEventFilter(this);
      QTimer::singleShot(0, this, [] {
        std::printf("first-paint: %lld\n", MonotonicMicros());
        std::fflush(stdout);
      });
    }
    return false;
  }

 private:
  QWidget* window_;
};

}  // namespace k7310
