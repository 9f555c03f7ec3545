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
#include "tests/support/sim_process.h"
#include "tests/qt_print.h"

namespace k7310::test {

// The application ends with the tests, before the exit handlers: mouse and key events register Qt's input devices,
// whose destruction among the exit handlers would touch Qt's statics after they are gone.
class AppEnvironment : public ::testing::Environment {
 public:
  void TearDown() override { app.reset(); }
  QApplication& Get() {
    static int argc = 1;
    static char name[] = "e2e";
    static char* argv[] = {name, nullptr};
    if (!app) app = std::make_unique<QApplication>(argc, argv);
    return *app;
  }

 private:
  std::unique_ptr<QApplication> app;
};

inline QApplication& App() {
  static AppEnvironment* const environment =
      static_cast<AppEnvironment*>(::testing::AddGlobalTestEnvironment(new AppEnvironment));
  return environment->Get();
}

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
