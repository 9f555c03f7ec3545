#include "app/device_app.h"

#include <QStringDecoder>

#include "app/button_color.h"
#include "app/connection.h"
#include "app/form1.h"
#include "app/form_disconnected.h"
#include "app/ui_text.h"
#include "device/btl.h"
#include "device/device_id_controller.h"
#include "device/search_controller.h"
#include "protocol/parser.h"
#include "protocol/scheduler.h"
#include "texts/texts.h"

namespace k7310 {

namespace {

// Group names are 8-bit text in the edition's code page, shown up to their first zero byte.
QString DecodeName(const GroupNameBytes& bytes) {
  std::size_t n = 0;
  while (n < bytes.size() && bytes[n] != 0) ++n;
  QStringDecoder decode("windows-1252");
  const QByteArray raw(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(n));
  return decode.isValid() ? QString(decode(raw)) : QString::fromLatin1(raw);
}

QString VolumeText(int position) {
  if (position == 0) return Ui(Texts().VolumeMute);
  // Exact tenths: position x 0.2 - 60.2 dB.
  const int tenths = position * 2 - 602;
  return QString::number(tenths / 10.0, 'f', 1) + QStringLiteral(" dB");
}

}  // namespace

DeviceApp::DeviceApp(TForm1& f, TForm_Disconnected& w, Dialogs& d, QStringList extra)
    : form(f), warning(w), dialogs(d), extraPorts(std::move(extra)) {
  ListPorts = [this] { return ListSerialPorts(extraPorts); };
  PortPresent = [](const QString& path) { return IsCharacterDevice(path); };
  serial.onReceived = [this](const std::string& hex) { Received(hex); };
  timers[TimerId::sendTimer].OnTimer([this] {
    ScanTick(session, *this);
    if (!session.commandSlots.AnyPending()) timers[TimerId::sendTimer].Idle();
  });
  session.commandSlots.onRaise = [this] { timers[TimerId::sendTimer].Wake(); };
  timers[TimerId::Timer7].OnTimer([this] { SendTick(session, *this); });
  timers[TimerId::Timer4].OnTimer([this] { ResumeTick(session, *this); });
  timers[TimerId::Timer1].OnTimer([this] { PollTick(session, *this); });
  connection = std::make_unique<ConnectionController>(*this);
  search = std::make_unique<SearchController>(*this);
  deviceId = std::make_unique<DeviceIdController>(*this);
}

DeviceApp::~DeviceApp() = default;

void DeviceApp::Start() {
  session.flags = {};
  session.SearchRunning = 0;
  session.ProgressSends = 0;
  session.ProgressCount = 0;
  session.DeviceIndex = 0;
  session.model.NewDeviceId = 1;
  session.model.BtlMode = 0;
  ApplyingModel = 0;
  BuildPortList();
  if (form.GroupBox2->RzComboBox1->count() > 0) connection->RefreshComMenu();
  timers[TimerId::Timer124].SetEnabled(true);
  timers[TimerId::Timer13].SetEnabled(true);
  timers[TimerId::refurbish].SetEnabled(true);
  timers[TimerId::brocar1].SetEnabled(true);
}

void DeviceApp::SetTimer(TimerId id, bool on) { timers[id].SetEnabled(on); }

void DeviceApp::Transmit(const Bytes& frame) {
  TxFrame = frame;
  HidReport[0] = 0;
  for (std::size_t i = 0; i < frame.size() && i + 1 < HidReport.size(); ++i) HidReport[i + 1] = frame[i];
  // The one transmit decision: the USB link while a HID device is in use, the serial port otherwise.
  if (UseHid && HidDeviceAttached) return;  // the USB link arrives with its own transport
  serial.Write(TxFrame);
}

void DeviceApp::Received(const std::string& hex) {
  session.RxHex += hex;
  ParseReceived(session, *this);
}

void DeviceApp::ResetHidAssembly() {}

void DeviceApp::ShowDeviceSettings(int replyingIndex) {
  const ParameterModel& m = session.model;
  form.RzGroupBox13->RzComboBox9->setCurrentIndex(m.TempThreshold);
  if (HidDeviceAttached) {
    form.GroupBox2->RzComboBox6->setCurrentIndex(replyingIndex);
    form.GroupBox2->RzEdit2->setText(QString::number(replyingIndex + 1));
  }
  form.GroupBox2->RzGroupBox4->RzLabel14->setText(Ui(LastLoadedGroupText(m.LastLoadedGroup)));
}

void DeviceApp::ShowStatus(const std::string& temperature, const std::string& attenuation) {
  form.GroupBox3->RzLabel29->setText(Ui(temperature));
  form.GroupBox3->RzLabel32->setText(Ui(attenuation));
}

void DeviceApp::CreditSearchAnswer() { search->Credit(); }

void DeviceApp::ShowModel() {
  const ParameterModel& m = session.model;
  ChannelStrip& strip = *form.GroupBox1;
  ApplyingModel = 1;
  strip.TrackBar1->setValue(m.MasterVolume);
  strip.Label1->setText(VolumeText(strip.TrackBar1->value()));
  ApplyingModel = 0;
  for (int c = 0; c < kChannelCount; ++c)
    strip.PolarityButtons[static_cast<std::size_t>(c)]->setText(
        Ui(m.OutPolarity[static_cast<std::size_t>(c)] != 0 ? Texts().PolarityMinus : Texts().PolarityPlus));
  for (int c = 0; c < kOutputCount; ++c)
    SetButtonColor(strip.MuteButtons[static_cast<std::size_t>(c)],
                   m.OutOn[static_cast<std::size_t>(c)] != 0 ? kButtonNormal : kButtonRed);
  if (m.Recoup == 0) SetButtonColor(strip.RzButton98, kButtonNormal);
  if (m.Recoup == 1) SetButtonColor(strip.RzButton98, kButtonRed);
  if (const BtlDisplay* btl = BtlDisplayFor(m.BtlMode)) {
    for (QPushButton* b : {strip.RzButton52, strip.RzButton51, strip.RzButton47, strip.RzButton49, strip.RzButton50,
                           strip.RzButton2})
      b->setVisible(btl->midRow);
    for (QPushButton* b : {strip.RzButton46, strip.RzButton45, strip.RzButton41, strip.RzButton43, strip.RzButton44,
                           strip.RzButton1})
      b->setVisible(btl->highRow);
    strip.Image6->setVisible(btl->image6);
    strip.Image7->setVisible(btl->image7);
    strip.Image1->setPixmap(form.BtlIcons[static_cast<std::size_t>(btl->picture)]);
    SetButtonColor(strip.RzButton7, QColor::fromRgb(btl->buttonRgb));
  }
}

void DeviceApp::ShowAppliedBlock() { ShowModel(); }

void DeviceApp::LockPortSelection() {
  form.GroupBox2->RzComboBox6->setEnabled(false);
  form.GroupBox2->RzComboBox1->setEnabled(false);
}

void DeviceApp::EnableWorkingControls(bool on) {
  form.GroupBox1->setEnabled(on);
  form.GroupBox2->setEnabled(on);
  form.GroupBox3->setEnabled(on);
  form.GroupBox2->RzGroupBox4->setEnabled(on);
  form.N1->setEnabled(on);
  form.N112->setEnabled(on);
  form.N6->setEnabled(on);
}

void DeviceApp::FinishRecall() {
  form.RzGroupBox1->hide();
  EnableWorkingControls(true);
}

void DeviceApp::ShowGroupNames() {
  GroupsBox& groups = *form.GroupBox2->RzGroupBox4;
  groups.RzEdit1->setText(DecodeName(session.GroupName[0]));
  groups.RzComboBox10->clear();
  for (std::size_t k = 0; k < 8; ++k)
    groups.RzComboBox10->addItem(Ui(Texts().GroupPrefixes[k]) + DecodeName(session.GroupName[k]));
  groups.RzComboBox10->setCurrentIndex(0);
  groups.RzComboBox11->setCurrentIndex(0);
}

void DeviceApp::ShowSendProgress(int percent) { form.RzGroupBox1->RzProgressBar1->setValue(percent); }

void DeviceApp::FinishSendProgress() {
  form.RzGroupBox1->hide();
  EnableEditing();
}

void DeviceApp::EnableEditing() {
  for (QWidget* w : {static_cast<QWidget*>(form.RzGroupBox8), static_cast<QWidget*>(form.GroupBox1),
                     static_cast<QWidget*>(form.GroupBox2), static_cast<QWidget*>(form.GroupBox3)})
    w->setEnabled(true);
}

QString DeviceApp::PortPath(int portNumber) const {
  return QString::fromStdString(portKeys.Name(portNumber));
}

bool DeviceApp::OpenSerialPort() {
  const QString path = PortPath(PortNumber);
  session.LinkOpen = !path.isEmpty() && serial.Open(path);
  return session.LinkOpen;
}

void DeviceApp::CloseSerialPort() {
  if (!session.LinkOpen) return;
  serial.Close();
  session.LinkOpen = false;
}

void DeviceApp::BuildPortList() {
  QComboBox* list = form.GroupBox2->RzComboBox1;
  const QStringList ports = ListPorts();
  list->clear();
  list->addItems(ports);
  list->setCurrentIndex(static_cast<int>(ports.size()) - 1);
  if (ports.isEmpty()) return;
  PortNumbers.resize(static_cast<std::size_t>(ports.size()), 0);
  for (qsizetype i = 0; i < ports.size(); ++i) {
    const int key = portKeys.Key(ports[i].toStdString());
    if (key > 0) PortNumbers[static_cast<std::size_t>(i)] = key;
  }
}

void DeviceApp::ShowWarning() { warning.ShowCentredOn(&form); }

}  // namespace k7310
