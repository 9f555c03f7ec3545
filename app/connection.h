// The window's side of the link: Button3 (connect, disconnect), the link lamp, the port list and the hidden COM
// menu, the status bar text and the warning window. The state lives in the device backend; this follows it.
#pragma once

#include <QObject>

#include "link/window_timer.h"

namespace k7310 {

class DeviceBackend;
class Dialogs;
class TForm1;
class TForm_Disconnected;
enum class ConnectionState;
enum class LinkEnd;

class ConnectionController : public QObject {
 public:
  ConnectionController(TForm1& form, TForm_Disconnected& warning, Dialogs& dialogs, DeviceBackend& backend);

  // The start: the port list shown, the COM menu filled, the lamp running.
  void Start();

  // Connects while disconnected, disconnects otherwise.
  void Button3Click();
  // The hidden "disconnect" menu item: the disconnect without the initial-data box, the group box and the caption.
  void N8Click();
  void RefreshComMenu();
  void ComItemClick(int k);  // k = 1..40
  void Timer6Timer();
  void Timer13Timer();

  WindowTimer Timer6;
  WindowTimer Timer13;

 private:
  void Connect();
  // What every click does, whoever clicks: the button rests for two seconds.
  void ClickEffects();
  void ShowPortList();
  void StateChanged(ConnectionState state);
  void Disconnecting(bool full);
  void LinkEnded(LinkEnd why, bool wasConnected);

  TForm1& form_;
  TForm_Disconnected& warning_;
  Dialogs& dialogs_;
  DeviceBackend& backend_;
};

}  // namespace k7310
