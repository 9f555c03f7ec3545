#include "device/ui/device_id_controller.h"

#include "app/kit/button_color.h"
#include "app/kit/dialogs.h"
#include "app/kit/panel_frame.h"
#include "app/kit/ui_text.h"
#include "link/device_backend.h"
#include "protocol/frame.h"
#include "texts/texts.h"

namespace k7310 {

DeviceIdController::DeviceIdController(DeviceBackend& backend, const DeviceIdControls& controls, Dialogs& dialogs,
                                       PanelFrame& panels, QObject* parent)
    : QObject(parent), backend_(backend), c_(controls), dialogs_(dialogs), panels_(panels) {
  // activated: only the user's choice, not the program selecting an item.
  connect(c_.RzComboBox6, &QComboBox::activated, this, [this](int i) { RzComboBox6Change(i); });
  connect(c_.RzButton8, &QPushButton::clicked, this, [this] { RzButton8Click(); });
}

void DeviceIdController::RzComboBox6Change(int index) {
  if (index < 0) return;
  DeviceSession& s = backend_.Session();
  s.DeviceIndex = static_cast<std::uint8_t>(index);
  s.model.NewDeviceId = index + 1;
  c_.RzEdit2->setText(QString::number(index + 1));
}

void DeviceIdController::RzButton8Click() {
  const UiTexts& T = Texts();
  DeviceSession& s = backend_.Session();
  if (backend_.LinkOpen()) {
    dialogs_.Message(Ui(T.PleaseDisconnect));
    return;
  }
  if (backend_.UsbInUse()) {
    dialogs_.Message(Ui(T.UsbNoBroadcast));
    return;
  }
  panels_.KeepEqBox = false;
  panels_.ClosePanel();
  if (BroadcastOn) {
    c_.Button3->move(c_.Button3->x(), 55);
    c_.Image15->move(c_.Image15->x(), 54);
    c_.GroupBox2->resize(600, c_.GroupBox2->height());
    c_.GroupBox3->show();
    c_.RzLabel10->show();
    c_.RzComboBox6->show();
    s.DeviceIndex = static_cast<std::uint8_t>(s.model.NewDeviceId - 1);
    BroadcastOn = false;
    SetButtonColor(c_.RzButton8, kButtonNormal);
    dialogs_.Message(Ui(T.BroadcastOff));
  } else {
    c_.Button3->move(c_.Button3->x(), 31);
    c_.Image15->move(c_.Image15->x(), 29);
    c_.GroupBox2->resize(215, c_.GroupBox2->height());
    c_.GroupBox3->hide();
    c_.RzLabel10->hide();
    c_.RzComboBox6->hide();
    s.DeviceIndex = kBroadcastIndex;
    BroadcastOn = true;
    SetButtonColor(c_.RzButton8, kButtonGreen);
    dialogs_.Message(Ui(T.BroadcastOpened));
  }
}

}  // namespace k7310
