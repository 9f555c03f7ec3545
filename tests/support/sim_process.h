// The simulator as a child process and event-loop helpers for tests: Qt Core only, so that tests of the headless
// backend use them without the window.
#pragma once

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

namespace k7310::test {

// Runs the event loop until pred holds or the time is up; true when it holds.
inline bool WaitUntil(const std::function<bool()>& pred, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!pred()) {
    if (clock.elapsed() > timeoutMs) return false;
    QEventLoop loop;
    QTimer::singleShot(5, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

inline void Pump(int ms) {
  WaitUntil([] { return false; }, ms);
}

struct WireLine {
  long long t;
  std::string dir;  // "RX" (taken by the simulator), "TX" (sent by it), "NOISE", "HANGUP"
  std::string hex;
};

// The simulator as a child process, with its log of the bytes on the wire.
class Sim {
 public:
  explicit Sim(const QStringList& args) {
    logPath_ = dir_.filePath(QStringLiteral("wire.log"));
    QString exe = qEnvironmentVariable("K7310_SIM");
#ifdef K7310_SIM_PATH
    if (exe.isEmpty()) exe = QStringLiteral(K7310_SIM_PATH);
#endif
    proc_.setProgram(exe);
    // Its stdin is a pipe of ours: Command() writes control commands there.
    proc_.setArguments(QStringList(args) << QStringLiteral("--control") << QStringLiteral("--log") << logPath_);
    proc_.start();
    if (!proc_.waitForStarted(5000)) {
      ADD_FAILURE() << "k7310-sim did not start: " << exe.toStdString();
      return;
    }
    const int ports = args.contains(QStringLiteral("--ports")) ? args[args.indexOf(QStringLiteral("--ports")) + 1].toInt() : 1;
    while (paths.size() < ports && proc_.waitForReadyRead(5000))
      while (proc_.canReadLine() && paths.size() < ports) paths << QString::fromLatin1(proc_.readLine()).trimmed();
    if (paths.size() < ports) ADD_FAILURE() << "k7310-sim printed no pty path";
  }
  ~Sim() {
    if (proc_.state() != QProcess::NotRunning) {
      proc_.terminate();
      if (!proc_.waitForFinished(3000)) proc_.kill();
      proc_.waitForFinished(1000);
    }
  }
  // A control command ("silent 1", "hangup", "temp 1 3000"); waits for the simulator's answer.
  void Command(const QString& line) {
    proc_.write((line + QLatin1Char('\n')).toLatin1());
    proc_.waitForBytesWritten(1000);
    EXPECT_TRUE(WaitUntil(
        [&] {
          while (proc_.canReadLine()) {
            const QString answer = QString::fromLatin1(proc_.readLine()).trimmed();
            if (answer.startsWith(QLatin1String("ok"))) return true;
            if (answer.startsWith(QLatin1String("error"))) {
              ADD_FAILURE() << "k7310-sim refused " << line.toStdString() << ": " << answer.toStdString();
              return true;
            }
          }
          return false;
        },
        3000))
        << line.toStdString();
  }
  std::vector<WireLine> Wire() const {
    std::vector<WireLine> out;
    QFile f(logPath_);
    if (!f.open(QIODevice::ReadOnly)) return out;
    while (!f.atEnd()) {
      const QStringList parts = QString::fromLatin1(f.readLine()).trimmed().split(QLatin1Char(' '));
      if (parts.size() >= 2)
        out.push_back({parts[0].toLongLong(), parts[1].toStdString(), parts.size() > 2 ? parts[2].toStdString() : ""});
    }
    return out;
  }
  // Frames the simulator took, in order.
  std::vector<WireLine> Received() const {
    std::vector<WireLine> out;
    for (const WireLine& l : Wire())
      if (l.dir == "RX") out.push_back(l);
    return out;
  }

  QStringList paths;

 private:
  QTemporaryDir dir_;
  QString logPath_;
  QProcess proc_;
};

}  // namespace k7310::test
