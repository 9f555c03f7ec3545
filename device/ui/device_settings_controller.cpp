#include "device/ui/device_settings_controller.h"

#include "app/kit/button_color.h"
#include "app/kit/dialogs.h"
#include "app/kit/panel_frame.h"
#include "app/kit/ui_text.h"
#include "device/ui/btl_box.h"
#include "link/device_backend.h"
#include "protocol/catalogue.h"
#include "protocol/frame.h"
#include "protocol/scheduler.h"
#include "texts/texts.h"

namespace k7310 {

DeviceSettingsController::DeviceSettingsController(DeviceBackend& backend, const DeviceSettingsControls& controls,
                                                   Dialogs& dialogs, PanelFrame& panels,
                                                   std::function<void()> showModel, QObject* parent)
    : QObject(parent),
      backend_(backend),
      c_(controls),
      dialogs_(dialogs),
      panels_(panels),
      showModel_(std::move(showModel)) {
  connect(c_.RzButton7, &QPushButton::clicked, this, [this] { RzButton7Click(); });
  connect(c_.RzButton98, &QPushButton::clicked, this, [this] { RzButton98Click(); });
  for (int mode = 0; mode < 4; ++mode)
    connect(c_.rzgrpbx_btl->ModeButtons[static_cast<std::size_t>(mode)], &QPushButton::clicked, this,
            [this, mode] { BtlModeClick(mode); });
  // activated: only the user's pick; a settings reply selecting the unit's item sends nothing.
  connect(c_.RzComboBox9, &QComboBox::activated, this, [this](int i) { RzComboBox9Change(i); });
}

void DeviceSettingsController::ColourModeButtons(int mode) {
  for (int n = 0; n < 4; ++n)
    SetButtonColor(c_.rzgrpbx_btl->ModeButtons[static_cast<std::size_t>(n)], n == mode ? kButtonRed : kButtonNormal);
}

void DeviceSettingsController::RzButton7Click() {
  const UiTexts& T = Texts();
  if (!dialogs_.Question(Ui(T.NoticeTitle), Ui(T.BtlQuestion))) return;
  ColourModeButtons(backend_.Session().model.BtlMode);
  c_.RzGroupBox8->hide();
  c_.RzGroupBox2->hide();
  c_.rzgrpbx_btl->move(PanelFrame::kAreaX, PanelFrame::kAreaY);
  c_.rzgrpbx_btl->show();
  c_.rzgrpbx_btl->raise();
}

void DeviceSettingsController::BtlModeClick(int mode) {
  panels_.KeepEqBox = false;
  panels_.ClosePanel();
  backend_.Session().model.BtlMode = mode;
  if (showModel_) showModel_();
  ColourModeButtons(mode);
  backend_.QueueCommand(kMainSettingsSlot);
}

void DeviceSettingsController::RzComboBox9Change(int index) {
  if (index < 0) return;
  DeviceSession& s = backend_.Session();
  s.model.TempThreshold = index;
  // A settings write also carries the ID the unit is to take: sent to every unit at once it would give them all
  // the same ID. In broadcast mode the threshold is therefore kept in the model only, and the user is told to set
  // it unit by unit.
  if (s.DeviceIndex == kBroadcastIndex) {
    dialogs_.Message(Ui(Texts().BroadcastNoTempThreshold));
    return;
  }
  QueueDeviceSettings(s);
}

void DeviceSettingsController::RzButton98Click() {
  ParameterModel& m = backend_.Session().model;
  m.Recoup = 1 - m.Recoup;
  if (m.Recoup == 0) SetButtonColor(c_.RzButton98, kButtonNormal);
  if (m.Recoup == 1) SetButtonColor(c_.RzButton98, kButtonRed);
  backend_.QueueCommand(kMainSettingsSlot);
}

}  // namespace k7310
