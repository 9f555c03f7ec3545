#include "app/usb_view.h"

#include "app/form1.h"
#include "app/kit/dialogs.h"
#include "app/kit/ui_text.h"
#include "link/usb_link.h"
#include "texts/texts.h"

namespace k7310 {

UsbView::UsbView(TForm1& form, Dialogs& dialogs, UsbLink& usb)
    : QObject(&form), form_(form), dialogs_(dialogs), usb_(usb) {
  connect(&usb_, &UsbLink::History, this, [this](const QString& line) { form_.HistoryListBox->AddToHistory(line); });
  connect(&usb_, &UsbLink::DevicesListed, this, [this] { ShowDevices(); });
  connect(&usb_, &UsbLink::ProcessorArrived, this, [this] {
    form_.lbl_usbhid->setText(Ui(Texts().UsbArrived));
    form_.GroupBox2->RzComboBox1->setEnabled(false);
    form_.GroupBox2->RzComboBox6->setEnabled(false);
  });
  connect(&usb_, &UsbLink::ProcessorRemoved, this, [this] {
    form_.lbl_usbhid->setText(Ui(Texts().UsbRemoved));
    form_.GroupBox2->RzComboBox1->setEnabled(true);
    form_.GroupBox2->RzComboBox6->setEnabled(true);
  });
  connect(&usb_, &UsbLink::OpenRefused, this, [this](const QString& path, const UsbError&) {
    dialogs_.Message(Ui(Texts().UsbNoPermission).arg(path));
  });
}

void UsbView::ShowDevices() {
  QListWidget* list = form_.DevListBox;
  list->clear();
  for (const std::string& name : usb_.DeviceNames()) list->addItem(QString::fromStdString(name));
  if (usb_.HidListIndex() != kNoUsbEntry) list->setCurrentRow(usb_.HidListIndex());
}

}  // namespace k7310
