#include "link/device_backend.h"

#include <type_traits>
#include <variant>

#include "link/wait.h"
#include "protocol/catalogue.h"
#include "protocol/parser.h"
#include "protocol/scheduler.h"

namespace k7310 {

DeviceBackend::DeviceBackend(QObject* parent) : QObject(parent) {
  timers_[TimerId::sendTimer].OnTimer([this] {
    ScanTick(session_, *this);
    // The scan rests while nothing is pending; the next raise wakes it with a full interval.
    if (!session_.commandSlots.AnyPending()) timers_[TimerId::sendTimer].Idle();
  });
  session_.commandSlots.onRaise = [this] { timers_[TimerId::sendTimer].Wake(); };
  timers_[TimerId::Timer7].OnTimer([this] { SendTick(session_, *this); });
  timers_[TimerId::Timer4].OnTimer([this] { ResumeTick(*this); });
  timers_[TimerId::Timer1].OnTimer([this] { PollTick(session_, *this); });
  timers_[TimerId::intimer].OnTimer([this] { NoAnswerToPoll(); });
  timers_[TimerId::chcon].OnTimer([this] { LostLink(0); });
  timers_[TimerId::chcon112].OnTimer([this] { LostLink(1); });
  timers_[TimerId::chcon188].OnTimer([this] { LostLink(2); });
  timers_[TimerId::refurbish].OnTimer([this] { RefreshPortList(); });
  timers_[TimerId::brocar1].OnTimer([this] { CheckPortPresent(); });
}

DeviceBackend::~DeviceBackend() = default;

void DeviceBackend::SetSerialLink(Link* link) {
  if (serial_) disconnect(serial_, nullptr, this, nullptr);
  serial_ = link;
  if (!serial_) return;
  connect(serial_, &Link::Arrived, this, [this](const std::string& hex) { Receive(hex); });
  connect(serial_, &Link::Vanished, this, [this] { PortVanished(); });
}

void DeviceBackend::SetUsbLink(UsbLink* link) {
  if (usb_) {
    disconnect(usb_, nullptr, this, nullptr);
    usb_->SetHeld(false);
  }
  usb_ = link;
  if (!usb_) return;
  connect(usb_, &Link::Arrived, this, [this](const std::string& hex) { Receive(hex); });
  connect(usb_, &Link::Vanished, this, [this] { UsbVanished(); });
  UpdateUsbHold();
}

void DeviceBackend::SetSearchRunning(bool on) {
  searchRunning_ = on;
  UpdateUsbHold();
}

void DeviceBackend::UpdateUsbHold() {
  if (usb_) usb_->SetHeld(serialOpen_ || searchRunning_);
}

void DeviceBackend::Start() {
  session_.flags = {};
  session_.ProgressSends = false;
  session_.ProgressCount = 0;
  session_.DeviceIndex = 0;
  session_.model.NewDeviceId = 1;
  session_.model.BtlMode = 0;
  SetSearchRunning(false);
  ports_.Build();
  timers_[TimerId::refurbish].SetEnabled(true);
  timers_[TimerId::brocar1].SetEnabled(true);
}

void DeviceBackend::Wait(int ms) { WaitWithMessages(ms); }

// --- Sending ---------------------------------------------------------------------------------------------------

bool DeviceBackend::TransmitCurrent(const Bytes& frame) {
  txFrame_ = frame;
  // The report keeps whatever earlier frames left behind this one.
  StageFrame(hidReport_, frame);
  if (txFrame_.empty()) return true;
  return Transmit([this](UsbLink& usb) { return usb.SendReport(hidReport_); });
}

bool DeviceBackend::TransmitBlockBody(std::span<const std::uint8_t, kUsbBlockBodySize> body) {
  txFrame_.assign(body.begin(), body.end());
  return Transmit([this, body](UsbLink& usb) { return usb.SendBlockBody(hidReport_, body); });
}

bool DeviceBackend::Transmit(const std::function<bool(UsbLink&)>& usb) {
  // A frame for a link that is not open, or that the link refuses, is counted and reported, never lost unseen.
  bool sent = false;
  if (session_.LinkOpen) {
    if (UsbInUse())
      sent = usb(*usb_);
    else
      sent = serial_ && serial_->Write(txFrame_);
  }
  if (sent) {
    emit Sent(txFrame_);
    return true;
  }
  ++sendFailures_;
  emit SendFailed();
  return false;
}

void DeviceBackend::QueueCommand(int slot) { k7310::QueueCommand(session_, slot); }

// --- The link --------------------------------------------------------------------------------------------------

bool DeviceBackend::OpenSerialPort() {
  const QString path = ports_.PathOf(ports_.PortNumber);
  session_.LinkOpen = serial_ && !path.isEmpty() && serial_->Open(path);
  serialOpen_ = session_.LinkOpen;
  UpdateUsbHold();
  return session_.LinkOpen;
}

void DeviceBackend::CloseSerialPort() {
  if (!session_.LinkOpen) return;
  if (usb_) usb_->Close();
  if (serialOpen_ && serial_) serial_->Close();
  serialOpen_ = false;
  session_.LinkOpen = false;
  // With the serial port closed the USB link may take the processor again.
  UpdateUsbHold();
}

// --- Connecting ------------------------------------------------------------------------------------------------

bool DeviceBackend::OpenForConnect() {
  if (!UsbInUse()) {
    const int selected = ports_.Selected();
    const auto& numbers = ports_.PortNumbers();
    if (selected >= 0 && static_cast<std::size_t>(selected) < numbers.size())
      ports_.PortNumber = numbers[static_cast<std::size_t>(selected)];
  }
  session_.flags.AwaitRecall = false;
  SetSearchRunning(false);
  session_.ProgressSends = false;
  session_.ProgressCount = 0;
  if (session_.LinkOpen) {
    CloseSerialPort();
    Wait(100);
  }
  session_.commandSlots.ClearAllSlots();
  if (UsbInUse()) {
    // No port to open: the USB link is marked as the one in use.
    session_.LinkOpen = usb_->Open({});
    ports_.PortNumber = kPortHid;
  } else {
    OpenSerialPort();
  }
  if (!session_.LinkOpen) {
    ports_.PortNumber = kPortNotFound;
    return false;
  }
  return true;
}

void DeviceBackend::StartHandshake() {
  session_.RxHex.clear();
  txFrame_.clear();
  TransmitCurrent(QueryCurrentBlock(session_.DeviceIndex));
  timers_[TimerId::chcon].SetEnabled(true);
  timers_[TimerId::chcon112].SetEnabled(true);
  timers_[TimerId::chcon188].SetEnabled(true);
}

void DeviceBackend::MarkConnected() {
  SetState(session_.DeviceIndex == kBroadcastIndex ? ConnectionState::Broadcast : ConnectionState::Connecting);
}

void DeviceBackend::Disconnect(bool full) {
  emit Disconnecting(full);
  timers_[TimerId::Timer1].SetEnabled(false);
  timers_[TimerId::intimer].SetEnabled(false);
  timers_[TimerId::sendTimer].SetEnabled(false);
  txFrame_.clear();
  ports_.PortNumber = kPortNone;
  Wait(50);
  CloseSerialPort();
  session_.LinkOpen = false;
  // Nothing of this link may act on the next one: a reply handled during the wait can have switched the poll on
  // again, a send or its resume can be due, and an unfinished handshake has its watchdogs armed.
  for (TimerId id : {TimerId::Timer1, TimerId::intimer, TimerId::sendTimer, TimerId::Timer7, TimerId::Timer4,
                     TimerId::chcon, TimerId::chcon112, TimerId::chcon188})
    timers_[id].SetEnabled(false);
  session_.CurrentSlot = 0;
  if (full) SetState(ConnectionState::Disconnected);
  emit Disconnected(full);
}

void DeviceBackend::SetState(ConnectionState state) {
  if (state == state_) return;
  state_ = state;
  emit StateChanged(state_);
}

void DeviceBackend::LostLink(int stage) {
  if (stage <= 0) timers_[TimerId::chcon].SetEnabled(false);
  if (stage <= 1) timers_[TimerId::chcon112].SetEnabled(false);
  timers_[TimerId::chcon188].SetEnabled(false);
  // A watchdog of a link that is already down must not act on the next one.
  if (state_ == ConnectionState::Disconnected) return;
  Disconnect(true);
  emit LinkEnded(LinkEnd::NoAnswer, true);
}

void DeviceBackend::NoAnswerToPoll() {
  timers_[TimerId::intimer].SetEnabled(false);
  // Nothing answers in broadcast mode.
  if (session_.DeviceIndex == kBroadcastIndex || state_ == ConnectionState::Disconnected) return;
  Disconnect(true);
  emit LinkEnded(LinkEnd::NoAnswer, true);
}

void DeviceBackend::PortVanished() {
  if (!session_.LinkOpen || UsbInUse()) return;
  if (searchRunning_) {
    // A port that goes away during a search is closed; the search goes on with the next one.
    CloseSerialPort();
    return;
  }
  const bool connected = state_ != ConnectionState::Disconnected;
  Disconnect(connected);
  emit LinkEnded(LinkEnd::PortGone, connected);
}

void DeviceBackend::UsbVanished() {
  if (!session_.LinkOpen) return;
  // The warning comes first, then the link is ended.
  const bool connected = state_ != ConnectionState::Disconnected;
  emit LinkEnded(LinkEnd::DeviceRemoved, connected);
  Disconnect(true);
}

void DeviceBackend::RefreshPortList() {
  // A search keeps its port list for the whole sweep.
  if (session_.LinkOpen || searchRunning_) return;
  if (ports_.Refresh()) emit PortListChanged();
}

void DeviceBackend::CheckPortPresent() {
  // A search opens its ports itself and notices one that fails.
  if (!session_.LinkOpen || UsbInUse() || searchRunning_) return;
  if (ports_.present(ports_.SelectedPath())) return;
  PortVanished();
}

bool DeviceBackend::ApplyBlock(std::string_view blockText) {
  if (!k7310::ApplyBlock(session_, blockText)) return false;
  emit ModelApplied();
  return true;
}

// --- Reception -------------------------------------------------------------------------------------------------

void DeviceBackend::Receive(const std::string& hex) {
  Link* link = InUse();
  if (link && link->Can().wholeReplies)
    session_.RxHex = hex;
  else
    session_.RxHex += hex;
  // Any reception counts as an answer for the watchdogs, and ends a partly assembled USB reply (whichever link
  // it came on).
  if (serial_) serial_->ResetAssembly();
  if (usb_) usb_->ResetAssembly();
  timers_[TimerId::chcon].SetEnabled(false);
  timers_[TimerId::intimer].SetEnabled(false);
  for (const Reply& reply : ParseReceived(session_)) Dispatch(reply);
}

void DeviceBackend::StartScanAndPoll() {
  timers_[TimerId::Timer1].SetEnabled(true);
  timers_[TimerId::sendTimer].SetEnabled(true);
}

void DeviceBackend::Dispatch(const Reply& reply) {
  std::visit(
      [this](const auto& r) {
        using R = std::decay_t<decltype(r)>;
        if constexpr (std::is_same_v<R, rx::DeviceSettings>) {
          emit DeviceSettingsReceived(r.values);
        } else if constexpr (std::is_same_v<R, rx::Status>) {
          emit StatusReceived(r.values);
        } else if constexpr (std::is_same_v<R, rx::SettingsAck>) {
          if (r.awaited) emit SettingsAcknowledged();
        } else if constexpr (std::is_same_v<R, rx::StoreAck>) {
          if (r.awaited) emit StoreAcknowledged();
        } else if constexpr (std::is_same_v<R, rx::StoredGroup>) {
          emit StoredGroupReceived(r.block, r.count, r.last);
          if (r.last) StartScanAndPoll();
        } else if constexpr (std::is_same_v<R, rx::ActiveGroup>) {
          timers_[TimerId::chcon112].SetEnabled(false);
          switch (r.route) {
            case rx::BlockRoute::Keep:
              emit BlockKept(r.block);
              break;
            case rx::BlockRoute::DumpOne:
              emit BlockForFile(r.block);
              StartScanAndPoll();
              break;
            case rx::BlockRoute::Apply:
              emit ModelApplied();
              emit PortSelectionLocked();
              TransmitCurrent(QueryGroupNames(session_.DeviceIndex));
              break;
            case rx::BlockRoute::Recall:
              emit ModelApplied();
              emit PortSelectionLocked();
              emit RecallFinished();
              StartScanAndPoll();
              break;
          }
        } else if constexpr (std::is_same_v<R, rx::Names>) {
          timers_[TimerId::chcon188].SetEnabled(false);
          emit GroupNamesReceived();
          timers_[TimerId::sendTimer].SetEnabled(true);
          timers_[TimerId::Timer1].SetEnabled(true);
          if (state_ == ConnectionState::Connecting) SetState(ConnectionState::Connected);
        }
      },
      reply);
}

}  // namespace k7310
