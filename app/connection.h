// Connecting and disconnecting with Button3, the connect watchdogs, the no-answer watchdog of the poll, the link
// lamp, and the port list upkeep (refresh while unlinked, presence check while linked, the COM menu).
#pragma once

namespace k7310 {

class DeviceApp;

class ConnectionController {
 public:
  explicit ConnectionController(DeviceApp& app);

  // Connects when the caption is the design caption, disconnects otherwise.
  void Button3Click();
  // The hidden "disconnect" menu item: the disconnect without the initial-data box, the group box and the caption.
  void N8Click();
  void RefreshComMenu();
  void ComItemClick(int k);  // k = 1..40

  // Watchdog handlers.
  void LostLink(int stage);  // chcon = 0, chcon112 = 1, chcon188 = 2
  void intimerTimer();
  void Timer6Timer();
  void Timer13Timer();
  void refurbishTimer();
  void brocar1Timer();
  // The port in use has gone (unplugged, the other end hung up).
  void PortVanished();

 private:
  void Connect();
  void Disconnect();
  void DisconnectLink();
  bool Connected() const;

  DeviceApp& app_;
};

}  // namespace k7310
