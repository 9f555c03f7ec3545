// Choosing the device to address, and broadcast mode on and off.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>

#include <functional>

#include "link/window_timer.h"

namespace k7310 {

class DeviceBackend;
class Dialogs;
class PanelFrame;

struct DeviceIdControls {
  QGroupBox* GroupBox2;     // the top bar, narrowed in broadcast mode
  QWidget* GroupBox3;       // the tools column, hidden in broadcast mode
  QComboBox* RzComboBox6;   // device ID list
  QLabel* RzLabel10;        // "Device ID:"
  QLineEdit* RzEdit2;       // new ID
  QPushButton* Button1;     // "OK": gives the connected unit the new ID
  QPushButton* RzButton8;   // broadcast mode
  QPushButton* Button3;     // connect button, moved with the mode
  QLabel* Image15;          // link lamp, moved with the mode
};

class DeviceIdController : public QObject {
 public:
  DeviceIdController(DeviceBackend& backend, const DeviceIdControls& controls, Dialogs& dialogs, PanelFrame& panels,
                     std::function<void()> showWarning, QObject* parent);

  void RzComboBox6Change(int index);  // the user chose a device ID
  void RzButton8Click();              // broadcast mode on/off
  void Button1Click();                // assigns the ID in RzEdit2 to the connected unit (also Enter in RzEdit2)
  void Timer2Timer();                 // the unit acknowledged the new ID

  // Shows the ID assignment's confirmation once the unit acknowledged it.
  WindowTimer Timer2{"Timer2", 10};

  bool BroadcastOn = false;

 private:
  DeviceBackend& backend_;
  DeviceIdControls c_;
  Dialogs& dialogs_;
  PanelFrame& panels_;
  std::function<void()> showWarning_;

  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace k7310
