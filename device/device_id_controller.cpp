#include "device/device_id_controller.h"

#include "app/button_color.h"
#include "app/device_app.h"
#include "app/dialogs.h"
#include "app/form1.h"
#include "app/ui_text.h"
#include "protocol/frame.h"
#include "texts/texts.h"

namespace k7310 {

DeviceIdController::DeviceIdController(DeviceApp& app) : app_(app) {
  TopBar& top = *app_.form.GroupBox2;
  // activated: only the user's choice, not the program selecting an item.
  QObject::connect(top.RzComboBox6, &QComboBox::activated, &app_, [this](int i) { RzComboBox6Change(i); });
  QObject::connect(top.RzButton8, &QPushButton::clicked, &app_, [this] { RzButton8Click(); });
}

void DeviceIdController::RzComboBox6Change(int index) {
  if (index < 0) return;
  app_.session.DeviceIndex = static_cast<std::uint8_t>(index);
  app_.session.model.NewDeviceId = index + 1;
  app_.form.GroupBox2->RzEdit2->setText(QString::number(index + 1));
}

void DeviceIdController::RzButton8Click() {
  TForm1& f = app_.form;
  TopBar& top = *f.GroupBox2;
  const UiTexts& T = Texts();
  if (app_.session.LinkOpen) {
    app_.dialogs.Message(Ui(T.PleaseDisconnect));
    return;
  }
  if (app_.UseHid && app_.HidDeviceAttached) {
    app_.dialogs.Message(Ui(T.UsbNoBroadcast));
    return;
  }
  f.Panels.KeepEqBox = false;
  f.Panels.ClosePanel();
  if (BroadcastOn) {
    top.Button3->move(top.Button3->x(), 55);
    top.Image15->move(top.Image15->x(), 54);
    top.resize(600, top.height());
    f.GroupBox3->show();
    top.RzLabel10->show();
    top.RzComboBox6->show();
    app_.session.DeviceIndex = static_cast<std::uint8_t>(app_.session.model.NewDeviceId - 1);
    BroadcastOn = 0;
    SetButtonColor(top.RzButton8, kButtonNormal);
    app_.dialogs.Message(Ui(T.BroadcastOff));
  } else {
    top.Button3->move(top.Button3->x(), 31);
    top.Image15->move(top.Image15->x(), 29);
    top.resize(215, top.height());
    f.GroupBox3->hide();
    top.RzLabel10->hide();
    top.RzComboBox6->hide();
    app_.session.DeviceIndex = kBroadcastIndex;
    BroadcastOn = 1;
    SetButtonColor(top.RzButton8, kButtonGreen);
    app_.dialogs.Message(Ui(T.BroadcastOpened));
  }
}

}  // namespace k7310
