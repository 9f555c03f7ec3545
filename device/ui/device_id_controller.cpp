#include "device/ui/device_id_controller.h"

#include <QKeyEvent>

#include "app/kit/button_color.h"
#include "app/kit/dialogs.h"
#include "app/kit/panel_frame.h"
#include "app/kit/ui_text.h"
#include "link/device_backend.h"
#include "protocol/frame.h"
#include "protocol/scheduler.h"
#include "texts/texts.h"

namespace k7310 {

DeviceIdController::DeviceIdController(DeviceBackend& backend, const DeviceIdControls& controls, Dialogs& dialogs,
                                       PanelFrame& panels, std::function<void()> showWarning, QObject* parent)
    : QObject(parent),
      backend_(backend),
      c_(controls),
      dialogs_(dialogs),
      panels_(panels),
      showWarning_(std::move(showWarning)) {
  // activated: only the user's choice, not the program selecting an item.
  connect(c_.RzComboBox6, &QComboBox::activated, this, [this](int i) { RzComboBox6Change(i); });
  connect(c_.RzButton8, &QPushButton::clicked, this, [this] { RzButton8Click(); });
  connect(c_.Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  c_.RzEdit2->installEventFilter(this);
  Timer2.OnTimer([this] { Timer2Timer(); });
  connect(&backend_, &DeviceBackend::SettingsAcknowledged, this, [this] { Timer2.SetEnabled(true); });
}

// Digits, Backspace and Enter pass; Enter is swallowed and assigns the ID.
bool DeviceIdController::eventFilter(QObject* watched, QEvent* event) {
  if (watched != c_.RzEdit2 || event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    Button1Click();
    return true;
  }
  if (key->key() == Qt::Key_Backspace) return false;
  const QString text = key->text();
  if (text.isEmpty()) return false;  // keys without a character (arrows, Delete) are not key presses
  return !(text.size() == 1 && text[0] >= u'0' && text[0] <= u'9');
}

void DeviceIdController::Button1Click() {
  DeviceSession& s = backend_.Session();
  if (!backend_.LinkOpen()) {
    if (showWarning_) showWarning_();
    return;
  }
  bool ok = false;
  const int id = c_.RzEdit2->text().toInt(&ok);
  if (!ok || id < 1 || id > 255) {
    c_.RzEdit2->setText(QString::number(s.model.NewDeviceId));
    dialogs_.Message(Ui(Texts().BadDeviceId));
    return;
  }
  s.flags.AwaitIdAck = true;
  s.model.NewDeviceId = id;
  if (QueueDeviceSettings(s)) c_.RzComboBox6->setCurrentIndex(s.DeviceIndex);
}

void DeviceIdController::Timer2Timer() {
  Timer2.SetEnabled(false);
  dialogs_.Message(Ui(Texts().DeviceIdChanged) + QString::number(backend_.Session().model.NewDeviceId));
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
