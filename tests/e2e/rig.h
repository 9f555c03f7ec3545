// End-to-end rig: the real window, offscreen, against k7310-sim on a pseudo-terminal.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/controller_app.h"
#include "app/form1.h"
#include "app/form_disconnected.h"
#include "tests/e2e/scripted_dialogs.h"
#include "tests/qt_print.h"

namespace k7310::test {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "e2e";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}

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

// The program's windows and device side, with scripted dialogs and only the given ports in its list.
class Rig {
 public:
  explicit Rig(const QStringList& ports, bool start = true) : form(dialogs), warning(&form), app(form, warning, dialogs, {}) {
    app.backend.Ports().source = [ports] {
      QStringList existing;
      for (const QString& p : ports)
        if (QFileInfo::exists(p)) existing << p;
      existing.sort(Qt::CaseInsensitive);
      return existing;
    };
    form.show();
    if (start) app.Start();
  }
  ~Rig() {
    SearchCancel();
    dialogs.Verify();
  }
  void SearchCancel() { app.search.Button2Click(); }
  // Cancels the start-up sweep as soon as it runs (after its first probe) and waits for the window's regions.
  void SkipStartupSweep() {
    QTimer::singleShot(20, &form, [this] { SearchCancel(); });
    ASSERT_TRUE(WaitUntil([&] { return form.GroupBox1->isVisible(); }, 5000));
    // The answer to that probe is still on the line; a user would not connect within its 30 ms.
    Pump(100);
  }
  bool Connected() const { return form.GroupBox2->Button3->text() == QLatin1String("Connect"); }
  void ClickConnect() { form.GroupBox2->Button3->click(); }
  void ChooseDevice(int id) {
    form.GroupBox2->RzComboBox6->setCurrentIndex(id - 1);
    emit form.GroupBox2->RzComboBox6->activated(id - 1);
  }
  // Connects and waits for the polling state (names in, scheduler running).
  void ConnectAndPoll() {
    ClickConnect();
    ASSERT_TRUE(WaitUntil([&] { return app.backend.Timer(TimerId::Timer1).Enabled(); }, 4000)) << "no polling";
  }

  ScriptedDialogs dialogs;
  TForm1 form;
  TForm_Disconnected warning;
  ControllerApp app;
};

}  // namespace k7310::test
