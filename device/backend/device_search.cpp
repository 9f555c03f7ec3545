#include "device/backend/device_search.h"

#include "link/device_backend.h"
#include "protocol/catalogue.h"

namespace k7310 {

DeviceSearch::Plan DeviceSearch::StartupSweep() {
  return {kStartupSweepLastIndex, 500, false, false,
          [](int i, int j, int p) { return StartupSweepProgress(i, j, p); }};
}

DeviceSearch::Plan DeviceSearch::FullSearch() {
  return {kFullSearchLastIndex, 100, true, true, [](int i, int j, int p) { return FullSearchProgress(i, j, p); }};
}

DeviceSearch::DeviceSearch(DeviceBackend& backend, SearchHits& hits, const Plan& plan, QObject* parent)
    : Operation(parent), backend_(backend), hits_(hits), plan_(plan) {
  step_.setSingleShot(true);
  step_.setTimerType(Qt::PreciseTimer);
  connect(&step_, &QTimer::timeout, this, [this] {
    if (next_) (this->*next_)();
  });
}

void DeviceSearch::After(int ms, void (DeviceSearch::*step)()) {
  next_ = step;
  step_.start(ms);
}

void DeviceSearch::Start() {
  Begin();
  backend_.SetSearchRunning(true);
  if (plan_.clearAll)
    hits_.ClearAll();
  else
    hits_.ClearStartupArea();
  // The ports as the list shows them when the search starts.
  const PortList& ports = backend_.Ports();
  numbers_.assign(ports.PortNumbers().begin(),
                  ports.PortNumbers().begin() + std::min<std::size_t>(static_cast<std::size_t>(ports.Count()),
                                                                      ports.PortNumbers().size()));
  port_ = 0;
  // Every status reply during the search answers the index probed last, whatever unit it names.
  credit_ = connect(&backend_, &DeviceBackend::StatusReceived, this,
                    [this] { hits_.Mark(backend_.Ports().PortNumber, ProbedIndex_); });
  NextPort();
}

void DeviceSearch::Cancel() { Operation::Cancel(); }

void DeviceSearch::NextPort() {
  const int ports = static_cast<int>(numbers_.size());
  if (Cancelled() || port_ >= ports) {
    Finish();
    return;
  }
  backend_.Ports().PortNumber = numbers_[static_cast<std::size_t>(ports - 1 - port_)];
  if (backend_.LinkOpen()) {
    backend_.CloseSerialPort();
    After(100, &DeviceSearch::OpenPort);
    return;
  }
  OpenPort();
}

void DeviceSearch::OpenPort() {
  if (!backend_.OpenSerialPort()) {  // a port that cannot be opened is skipped
    ++port_;
    NextPort();
    return;
  }
  index_ = 0;
  NextProbe();
}

void DeviceSearch::NextProbe() {
  if (Cancelled()) {  // stops after the probe that was sent last
    PortDone();
    return;
  }
  After(plan_.waitMs, &DeviceSearch::Probe);
}

void DeviceSearch::Probe() {
  DeviceSession& s = backend_.Session();
  s.RxHex.clear();
  backend_.ClearTxFrame();
  const bool sent = backend_.TransmitCurrent(QueryStatus(static_cast<std::uint8_t>(index_)));
  ProbedIndex_ = index_;
  emit Progress(plan_.progress(port_, index_, static_cast<int>(numbers_.size())));
  if (!sent && plan_.stopOnSendError) {
    Finish();
    return;
  }
  ++index_;
  if (index_ <= plan_.lastIndex) {
    NextProbe();
  } else if (Cancelled()) {
    PortDone();
  } else {
    // The answer to the last probe of a port arrives within the same wait as every other answer.
    After(plan_.waitMs, &DeviceSearch::PortDone);
  }
}

void DeviceSearch::PortDone() {
  ++port_;
  NextPort();
}

void DeviceSearch::Finish() {
  step_.stop();
  next_ = nullptr;
  disconnect(credit_);
  backend_.Ports().PortNumber = kPortNone;
  if (backend_.LinkOpen()) backend_.CloseSerialPort();
  backend_.SetSearchRunning(false);
  End(!Cancelled());
}

StartupSweep::StartupSweep(DeviceBackend& backend, SearchHits& hits, QObject* parent)
    : DeviceSearch(backend, hits, DeviceSearch::StartupSweep(), parent), Timer124("Timer124", kTimer124Ms) {
  Timer124.OnTimer([this] {
    Timer124.SetEnabled(false);
    skipped_ = skip_ && skip_();
    if (skipped_) {
      Begin();
      End(false);
      return;
    }
    Start();
  });
}

void StartupSweep::Arm(std::function<bool()> skip) {
  skip_ = std::move(skip);
  Timer124.SetEnabled(true);
}

}  // namespace k7310
