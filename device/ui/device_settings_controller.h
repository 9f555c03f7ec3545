// The unit-wide settings: the BTL mode (the question, the mode box and the strip's display), the over-temperature
// threshold and the recoup switch.
#pragma once

#include <QComboBox>
#include <QObject>
#include <QPushButton>
#include <QWidget>

#include <functional>

namespace k7310 {

class BtlBox;
class DeviceBackend;
class Dialogs;
class PanelFrame;

struct DeviceSettingsControls {
  QPushButton* RzButton7;    // "BTL Mode": opens the BTL box after the question
  QPushButton* RzButton98;   // "recoup"
  BtlBox* rzgrpbx_btl;       // the four mode buttons
  QComboBox* RzComboBox9;    // the temperature thresholds
  QWidget* RzGroupBox8;      // the EQ box, hidden when the BTL box opens
  QWidget* RzGroupBox2;      // the search result box, likewise
};

class DeviceSettingsController : public QObject {
 public:
  // showModel: shows the model on the strip (the BTL display among it).
  DeviceSettingsController(DeviceBackend& backend, const DeviceSettingsControls& controls, Dialogs& dialogs,
                           PanelFrame& panels, std::function<void()> showModel, QObject* parent);

  void RzButton7Click();           // asks, then opens the BTL box
  void BtlModeClick(int mode);     // btn_btl0Click .. btn_btl3Click
  void RzComboBox9Change(int index);
  void RzButton98Click();

 private:
  void ColourModeButtons(int mode);

  DeviceBackend& backend_;
  DeviceSettingsControls c_;
  Dialogs& dialogs_;
  PanelFrame& panels_;
  std::function<void()> showModel_;
};

}  // namespace k7310
