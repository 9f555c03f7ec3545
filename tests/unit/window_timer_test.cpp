// WindowTimer: switching on a running timer keeps its interval, off and on again starts a full one, and an idle
// timer stays enabled until it wakes. Checked by the order of ticks against reference timers, not by wall-clock
// bounds: Qt fires overdue timers in the order of their due times, so a busy machine delays both alike.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

#include "link/window_timer.h"

namespace k7310 {
namespace {

QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "window_timer_test";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

class WindowTimerTest : public ::testing::Test {
 protected:
  WindowTimerTest() { App(); }

  // A reference timer, as precise as the window timers.
  void After(int ms, std::function<void()> fn) { QTimer::singleShot(ms, Qt::PreciseTimer, &context_, std::move(fn)); }
  void Mark(int ms, const std::string& name) {
    After(ms, [this, name] { log.push_back(name); });
  }
  // Runs the event loop until the log holds n entries (or the time is up).
  void RunUntilLogged(std::size_t n, int timeoutMs = 10000) {
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer check;
    check.setInterval(5);
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
      if (log.size() >= n || clock.elapsed() > timeoutMs) loop.quit();
    });
    check.start();
    loop.exec();
  }
  void Count(WindowTimer& t) {
    t.OnTimer([this] { log.push_back("tick"); });
  }

  QObject context_;
  std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST_F(WindowTimerTest, SwitchingOnARunningTimerKeepsItsInterval) {
  WindowTimer t("Timer7", 300);
  Count(t);
  t.SetEnabled(true);  // due at 300
  After(150, [&] {
    t.SetEnabled(true);  // a restart would move the tick to 450
    Mark(225, "375");
  });
  RunUntilLogged(2);
  EXPECT_EQ(log, (Log{"tick", "375"}));
  EXPECT_TRUE(t.Enabled());
  EXPECT_EQ(t.Interval(), 300);
}

TEST_F(WindowTimerTest, OffAndOnAgainStartsAFullInterval) {
  WindowTimer t("Timer4", 300);
  Count(t);
  t.SetEnabled(true);
  After(150, [&] {
    t.SetEnabled(false);
    t.SetEnabled(true);  // due at 450, not at 300
    Mark(225, "375");
  });
  RunUntilLogged(2);
  EXPECT_EQ(log, (Log{"375", "tick"}));
}

TEST_F(WindowTimerTest, SwitchedOffItNeverTicks) {
  WindowTimer t("Timer1", 50);
  Count(t);
  t.SetEnabled(true);
  t.SetEnabled(false);
  t.Wake();  // waking does not switch it on
  Mark(200, "200");
  RunUntilLogged(1);
  EXPECT_EQ(log, (Log{"200"}));
  EXPECT_FALSE(t.Enabled());
}

TEST_F(WindowTimerTest, IdleRestsUntilWakeWhichStartsAFullInterval) {
  WindowTimer t("sendTimer", 300);
  int ticks = 0;
  t.OnTimer([&] {
    log.push_back("tick");
    if (++ticks == 1) Mark(450, "tick+450");  // after the next tick: it keeps ticking at its interval
  });
  t.SetEnabled(true);
  After(150, [&] {
    t.Idle();  // would have ticked at 300
    EXPECT_TRUE(t.Enabled());
    After(400, [&] {  // 550
      log.push_back("wake");
      t.Wake();  // due at 850
      Mark(225, "775");
      After(100, [&] { t.Wake(); });  // waking a running timer keeps its interval
    });
  });
  RunUntilLogged(5);
  EXPECT_EQ(log, (Log{"wake", "775", "tick", "tick", "tick+450"}));
}

}  // namespace
}  // namespace k7310
