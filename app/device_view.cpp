#include "app/device_view.h"

#include <QStringDecoder>

#include "app/form1.h"
#include "app/kit/button_color.h"
#include "app/kit/ui_text.h"
#include "channel/ui/channel_controller.h"
#include "device/btl.h"
#include "link/device_backend.h"
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

}  // namespace

QString TemperatureReadout(int step) {
  const UiTexts& t = Texts();
  if (step <= 0) return Ui(t.TempHighest);
  if (step >= 30) return Ui(t.TempLowest);
  return QString::number(70 - 2 * step) + Ui(t.TempUnit);
}

QString AttenuationReadout(int db) { return QString::number(db) + Ui(Texts().DbUnit); }

QString LastLoadedGroupText(int n) {
  const UiTexts& t = Texts();
  return Ui(n <= 4 ? t.LastGroupUsr : t.LastGroupPre) + QString::number(n - 1) + QStringLiteral("         ");
}

DeviceView::DeviceView(TForm1& form, DeviceBackend& backend) : QObject(&form), form_(form), backend_(backend) {
  connect(&backend_, &DeviceBackend::StatusReceived, this, [this](const StatusReply& r) {
    form_.GroupBox3->RzLabel29->setText(TemperatureReadout(r.tempStep));
    form_.GroupBox3->RzLabel32->setText(AttenuationReadout(r.attenuationDb));
  });
  connect(&backend_, &DeviceBackend::DeviceSettingsReceived, this, [this](const DeviceSettingsReply& r) {
    form_.RzGroupBox13->RzComboBox9->setCurrentIndex(r.tempThreshold);
    if (backend_.UsbInUse()) {
      form_.GroupBox2->RzComboBox6->setCurrentIndex(r.replyingIndex);
      form_.GroupBox2->RzEdit2->setText(QString::number(r.replyingIndex + 1));
    }
    form_.GroupBox2->RzGroupBox4->RzLabel14->setText(LastLoadedGroupText(r.lastLoadedGroup));
  });
  connect(&backend_, &DeviceBackend::ModelApplied, this, [this] { ShowModel(); });
  connect(&backend_, &DeviceBackend::RecallFinished, this, [this] {
    form_.RzGroupBox1->hide();
    form_.regions.EnableWorkingControls(true);
  });
  connect(&backend_, &DeviceBackend::GroupNamesReceived, this, [this] {
    GroupsBox& groups = *form_.GroupBox2->RzGroupBox4;
    const GroupNames& names = backend_.Session().GroupName;
    groups.RzEdit1->setText(DecodeName(names[0]));
    groups.RzComboBox10->clear();
    for (std::size_t k = 0; k < 8; ++k)
      groups.RzComboBox10->addItem(Ui(Texts().GroupPrefixes[k]) + DecodeName(names[k]));
    groups.RzComboBox10->setCurrentIndex(0);
    groups.RzComboBox11->setCurrentIndex(0);
  });
  connect(&backend_, &DeviceBackend::SendProgress, this, [this](int percent, bool done) {
    form_.RzGroupBox1->RzProgressBar1->setValue(percent);
    if (!done) return;
    form_.RzGroupBox1->hide();
    form_.regions.EnableEditing();
  });
}

void DeviceView::ShowModel() {
  const ParameterModel& m = backend_.Session().model;
  ChannelStrip& strip = *form_.GroupBox1;
  ApplyingModel = true;
  strip.TrackBar1->setValue(m.MasterVolume);
  strip.Label1->setText(VolumeText(strip.TrackBar1->value()));
  ApplyingModel = false;
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
    strip.Image1->setPixmap(form_.BtlIcons[static_cast<std::size_t>(btl->picture)]);
    SetButtonColor(strip.RzButton7, QColor::fromRgb(btl->buttonRgb));
  }
}

}  // namespace k7310
