// The device side of the window: owns the session (model, slots, receive text, flags), the window timers, the
// serial link and the transmit decision, and shows what the receive parser found. The connection, the device
// search and the panels reach the device through it.
#pragma once

#include <QObject>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "device/port_keys.h"
#include "link/serial_link.h"
#include "link/window_timer.h"
#include "protocol/session.h"

namespace k7310 {

class Dialogs;
class TForm1;
class TForm_Disconnected;
class ConnectionController;
class SearchController;
class DeviceIdController;

class DeviceApp : public QObject, public SessionHost {
 public:
  DeviceApp(TForm1& form, TForm_Disconnected& warning, Dialogs& dialogs, QStringList extraPorts);
  ~DeviceApp() override;

  // The start-up steps that belong to the device side: flags, the port list, the timers that run from the start.
  void Start();

  // SessionHost.
  void SetTimer(TimerId id, bool on) override;
  void Transmit(const Bytes& frame) override;
  void ResetHidAssembly() override;
  void ShowDeviceSettings(int replyingIndex) override;
  void ShowStatus(const std::string& temperature, const std::string& attenuation) override;
  void CreditSearchAnswer() override;
  void ShowAppliedBlock() override;
  void LockPortSelection() override;
  void FinishRecall() override;
  void ShowGroupNames() override;
  void ShowSendProgress(int percent) override;
  void FinishSendProgress() override;

  // The link in use.
  bool OpenSerialPort();
  void CloseSerialPort();
  // Whether the port of a list entry is still there. A port of the list is a device node: it is there while its
  // node is, which is much cheaper to ask every 3 s than a whole new port list.
  std::function<bool(const QString& path)> PortPresent;
  // The path of the port behind a port number; empty for none.
  QString PortPath(int portNumber) const;

  // Fills the port list, selects its last entry and refreshes the port numbers.
  void BuildPortList();
  // Shows the block in the model on the window: volume, polarity, mute and recoup buttons, the BTL display.
  void ShowModel();
  // The working controls: strip, top bar, tools column, group box and the File/Help menus.
  void EnableWorkingControls(bool on);
  // The EQ box, the strip, the top bar and the tools column, as a connect, a disconnect and the end of the
  // "0 dB" progress leave them.
  void EnableEditing();
  void ShowWarning();

  TForm1& form;
  TForm_Disconnected& warning;
  Dialogs& dialogs;
  DeviceSession session;
  TimerSet timers;
  SerialLink serial;
  PortKeys portKeys;
  QStringList extraPorts;
  // The port list source: the machine's ports plus the extra paths. Tests hand in their own, so that no real port
  // of the machine is ever opened by them.
  std::function<QStringList()> ListPorts;

  int PortNumber = -1;
  std::vector<int> PortNumbers;
  bool UseHid = false;
  bool HidDeviceAttached = false;
  Bytes TxFrame;
  std::array<std::uint8_t, 65> HidReport{};
  int ApplyingModel = 0;

  std::unique_ptr<ConnectionController> connection;
  std::unique_ptr<SearchController> search;
  std::unique_ptr<DeviceIdController> deviceId;

 private:
  void Received(const std::string& hex);
};

}  // namespace k7310
