// A long action (a device search, a group transfer, a load): it starts, reports progress, can be cancelled and
// finishes once. It owns the timers it runs on and the routing it waits for; while it runs the event loop is free,
// so the window stays responsive and tests can drive it on the loop's own clock.
#pragma once

#include <QObject>

namespace k7310 {

class Operation : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

  bool Running() const { return running_; }
  // Asks the action to stop at its next step; it still finishes (with what it has).
  virtual void Cancel() { cancelled_ = true; }
  bool Cancelled() const { return cancelled_; }

 signals:
  void Progress(int percent);
  // `completed`: it ran to its end (false: cancelled or failed).
  void Finished(bool completed);

 protected:
  void Begin() {
    running_ = true;
    cancelled_ = false;
  }
  void End(bool completed) {
    if (!running_) return;
    running_ = false;
    emit Finished(completed);
  }

 private:
  bool running_ = false;
  bool cancelled_ = false;
};

}  // namespace k7310
