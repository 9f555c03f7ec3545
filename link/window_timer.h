// A window timer with the semantics the program relies on: switching on a timer that is already running keeps its
// running interval (QTimer::start would restart it); switching it off and on again starts a full interval.
#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

namespace k7310 {

class WindowTimer : public QObject {
 public:
  WindowTimer(const char* name, int intervalMs, QObject* parent = nullptr) : QObject(parent) {
    setObjectName(QString::fromLatin1(name));
    timer_.setInterval(intervalMs);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] {
      if (onTimer_) onTimer_();
    });
  }
  void OnTimer(std::function<void()> handler) { onTimer_ = std::move(handler); }
  void SetEnabled(bool on) {
    enabled_ = on;
    if (on && !timer_.isActive()) timer_.start();
    if (!on) timer_.stop();
  }
  bool Enabled() const { return enabled_; }
  // An enabled timer with nothing to do may rest: its ticks stop until Wake(), which resumes them with a full
  // interval. It stays enabled meanwhile. (The slot scan rests while no slot is pending instead of waking the
  // program a hundred times a second.)
  void Idle() {
    if (enabled_) timer_.stop();
  }
  void Wake() {
    if (enabled_ && !timer_.isActive()) timer_.start();
  }
  int Interval() const { return timer_.interval(); }

 private:
  QTimer timer_;
  bool enabled_ = false;
  std::function<void()> onTimer_;
};

}  // namespace k7310

#include <array>
#include <memory>

#include "protocol/timers.h"

namespace k7310 {

// Every window timer of the program, by its name, at its interval; all switched off until started.
class TimerSet {
 public:
  TimerSet() {
    for (std::size_t i = 0; i < kTimerCount; ++i)
      timers_[i] = std::make_unique<WindowTimer>(kTimers[i].name, kTimers[i].intervalMs);
  }
  WindowTimer& operator[](TimerId id) { return *timers_[static_cast<std::size_t>(id)]; }
  const WindowTimer& operator[](TimerId id) const { return *timers_[static_cast<std::size_t>(id)]; }

 private:
  std::array<std::unique_ptr<WindowTimer>, kTimerCount> timers_;
};

}  // namespace k7310
