// The device ID search as an operation: it opens every listed serial port in turn (the last entry first), sends
// the status query to one device index after the other and notes every answer in the hit matrix. Each probe waits
// its interval first, so the answer to probe j arrives before probe j + 1, while j is still the index probed.
// Two plans: the start-up sweep (IDs 1..10, 500 ms, errors ignored) and the full search (every index, 100 ms, a
// failed send ends it). It leaves no port open.
#pragma once

#include <QTimer>

#include <functional>
#include <vector>

#include "device/search.h"
#include "link/operation.h"
#include "link/window_timer.h"

namespace k7310 {

class DeviceBackend;

class DeviceSearch : public Operation {
  Q_OBJECT

 public:
  struct Plan {
    int lastIndex;         // device indices 0..lastIndex
    int waitMs;            // before each probe, and after the last one of a port
    bool stopOnSendError;  // a failed send ends the whole search
    bool clearAll;         // clear the whole hit matrix (else the start-up corner)
    int (*progress)(int port, int index, int ports);
  };
  static Plan StartupSweep();
  static Plan FullSearch();

  DeviceSearch(DeviceBackend& backend, SearchHits& hits, const Plan& plan, QObject* parent = nullptr);

  // Starts at once. The caller has checked that no link is open and no USB device is in use.
  void Start();
  void Cancel() override;
  // The index of the last query sent (the answer that follows is credited to it).
  int ProbedIndex() const { return ProbedIndex_; }
  int SearchCancel() const { return Cancelled() ? 1 : 0; }

 private:
  void NextPort();
  void OpenPort();
  void NextProbe();
  void Probe();
  void PortDone();
  void After(int ms, void (DeviceSearch::*step)());
  void Finish();

  DeviceBackend& backend_;
  SearchHits& hits_;
  Plan plan_;
  QTimer step_;
  void (DeviceSearch::*next_)() = nullptr;
  std::vector<int> numbers_;
  int port_ = 0;
  int index_ = 0;
  int ProbedIndex_ = 0;
  QMetaObject::Connection credit_;
};

// The start-up sweep starts from its own 10 ms timer, once the event loop runs.
class StartupSweep : public DeviceSearch {
  Q_OBJECT

 public:
  StartupSweep(DeviceBackend& backend, SearchHits& hits, QObject* parent = nullptr);
  // Arms Timer124; its first tick stops it and starts the sweep, unless `skip` says there is nothing to search
  // (a USB device is in use), in which case the sweep finishes at once.
  void Arm(std::function<bool()> skip);
  // The sweep was left out: there was nothing to search.
  bool Skipped() const { return skipped_; }
  WindowTimer Timer124;

 private:
  std::function<bool()> skip_;
  bool skipped_ = false;
};

}  // namespace k7310
