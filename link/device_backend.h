// The device backend: everything between the links and the window, without a window. It holds the session (model,
// slots, receive text, routing flags), runs the scheduler, the status poll and the watchdogs on its named timers,
// keeps the connection state and the port list, sends every frame through the one transmit decision, and hands
// each decoded reply to whoever awaits it. The window (or a command-line tool) binds to it through its calls and
// signals; it shows the state, it does not hold it.
#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "link/link.h"
#include "link/port_list.h"
#include "link/usb_link.h"
#include "link/window_timer.h"
#include "protocol/reply.h"
#include "protocol/session.h"

namespace k7310 {

enum class ConnectionState {
  Disconnected,  // no link, or a link the user has not connected yet
  Connecting,    // the link is up and the connect handshake runs
  Connected,     // the handshake ended: scheduler and status poll run
  Broadcast,     // connected to every unit at once; nothing answers
};

// Why the backend ended a link by itself. LinkEnded comes after the disconnect for NoAnswer and PortGone, and
// before it for DeviceRemoved (the warning shows first, then the link is ended).
enum class LinkEnd {
  NoAnswer,       // a watchdog: the handshake or the poll went unanswered
  PortGone,       // the serial port vanished
  DeviceRemoved,  // the USB processor was unplugged while its link was open
};

class DeviceBackend : public QObject, private SessionDriver {
  Q_OBJECT

 public:
  explicit DeviceBackend(QObject* parent = nullptr);
  ~DeviceBackend() override;

  // The serial link and the USB link (not owned). While the USB link has the processor taken, it carries every
  // frame and a connect opens no serial port; while the serial link is open or a search runs, the USB link is held
  // (it lists devices but takes none).
  void SetSerialLink(Link* link);
  Link* SerialLinkInUse() const { return serial_; }
  void SetUsbLink(UsbLink* link);
  UsbLink* UsbLinkInUse() const { return usb_; }
  // The USB link has the processor taken.
  bool UsbInUse() const { return usb_ && usb_->UseHid(); }

  // The start of the program: flags and device index reset, the port list read, the port list upkeep running.
  void Start();

  DeviceSession& Session() { return session_; }
  const DeviceSession& Session() const { return session_; }
  PortList& Ports() { return ports_; }
  const PortList& Ports() const { return ports_; }
  WindowTimer& Timer(TimerId id) { return timers_[id]; }
  const WindowTimer& Timer(TimerId id) const { return timers_[id]; }
  ConnectionState State() const { return state_; }
  bool LinkOpen() const { return session_.LinkOpen; }

  // --- Sending -------------------------------------------------------------------------------------------------
  // The one transmit decision: fills TxFrame and the HID report, then the USB link while a USB device is in use,
  // the serial link otherwise. False (and SendFailed) when the link in use could not take the frame.
  bool TransmitCurrent(const Bytes& frame);
  // Builds slot n from the model and marks it pending (nothing while no link is open).
  void QueueCommand(int slot);
  const Bytes& TxFrame() const { return txFrame_; }
  void ClearTxFrame() { txFrame_.clear(); }
  // The body of a group upload (320 payload bytes, checksum, end byte): six reports on USB, one write on serial.
  bool TransmitBlockBody(std::span<const std::uint8_t, kUsbBlockBodySize> body);
  const UsbReport& HidReport() const { return hidReport_; }
  int SendFailures() const { return sendFailures_; }

  // --- The link ------------------------------------------------------------------------------------------------
  // Opens the port of PortNumber on the serial link; sets LinkOpen on success.
  bool OpenSerialPort();
  // Closes whichever link is open (the USB link is only unmarked: its device stays taken).
  void CloseSerialPort();

  // --- Connecting ----------------------------------------------------------------------------------------------
  // The link side of a connect: takes the chosen entry's port number, forgets unfinished actions, closes a link
  // that is open, clears the slots and opens the link. False when no link could be opened (PortNumber is then 0).
  bool OpenForConnect();
  // Asks the unit for its active group and arms the three handshake watchdogs.
  void StartHandshake();
  // The connect has gone through (the window's caption changes now): Connecting, or Broadcast at index 255.
  void MarkConnected();
  // Ends the link. `full` is the user's disconnect; without it the connection state stays as it is (the hidden
  // disconnect item, a vanished port while no connect was made).
  void Disconnect(bool full = true);

  // Copies a block given as text (a file, a kept block) into the model outside the receive path, then tells the
  // window (ModelApplied) as a received group does. No frame is queued for it; pending slots are dropped.
  bool ApplyBlock(std::string_view blockText);

  // --- Reception -----------------------------------------------------------------------------------------------
  // Hex text from the link: appended to the receive text (or replacing it, for links that deliver whole replies),
  // then one parser run, whose replies are dispatched in order.
  void Receive(const std::string& hex);
  // A sweep of the device search owns the serial link; the upkeep timers and the USB link leave it alone meanwhile.
  void SetSearchRunning(bool on);
  bool SearchRunning() const { return searchRunning_; }

  // Waits while the event loop runs (timers fire and replies are handled inside the wait).
  static void Wait(int ms);

 signals:
  void StateChanged(ConnectionState state);
  // A disconnect begins (`full`: the user's, or one the backend makes on its own behalf).
  void Disconnecting(bool full);
  void Disconnected(bool full);
  // The backend ended the link by itself.
  void LinkEnded(LinkEnd why, bool wasConnected);
  void PortListChanged();
  void SendFailed();
  // A frame went out on the link (for logs, and for tests that time the program's own sends).
  void Sent(const Bytes& frame);
  void SendProgress(int percent, bool done);

  // Replies, decoded.
  void DeviceSettingsReceived(const DeviceSettingsReply& reply);
  void StatusReceived(const StatusReply& reply);
  void SettingsAcknowledged();
  void StoreAcknowledged();
  void StoredGroupReceived(const std::string& block, int count, bool last);
  // The active group went into the model (after a connect or a recall).
  void ModelApplied();
  // After an applied active group the device and port choice stay as they are for this link.
  void PortSelectionLocked();
  void RecallFinished();
  void BlockKept(const std::string& block);
  void BlockForFile(const std::string& block);
  void GroupNamesReceived();

 private:
  // SessionDriver: the scheduler's timers and sends.
  void SetTimer(TimerId id, bool on) override { timers_[id].SetEnabled(on); }
  void Send(const Bytes& frame) override { TransmitCurrent(frame); }
  void ReportProgress(int percent, bool done) override { emit SendProgress(percent, done); }

  // The link that carries the frames now.
  Link* InUse() const { return UsbInUse() ? static_cast<Link*>(usb_) : serial_; }
  // Writes TxFrame (or, on USB, what `usb` sends) on the link in use; counts and reports a refusal.
  bool Transmit(const std::function<bool(UsbLink&)>& usb);
  void UpdateUsbHold();
  void UsbVanished();
  void Dispatch(const Reply& reply);
  void StartScanAndPoll();
  void SetState(ConnectionState state);
  void LostLink(int stage);  // chcon 0, chcon112 1, chcon188 2
  void NoAnswerToPoll();
  void PortVanished();
  void RefreshPortList();
  void CheckPortPresent();

  DeviceSession session_;
  TimerSet timers_;
  PortList ports_;
  Link* serial_ = nullptr;
  UsbLink* usb_ = nullptr;
  bool serialOpen_ = false;
  ConnectionState state_ = ConnectionState::Disconnected;
  Bytes txFrame_;
  UsbReport hidReport_{};
  bool searchRunning_ = false;
  int sendFailures_ = 0;
};

}  // namespace k7310
