#include "link/usb_link.h"

#include <algorithm>

namespace k7310 {

UsbLink::UsbLink(UsbPlatform& platform, QObject* parent) : Link(parent), platform_(platform) {
  connect(&platform_, &UsbPlatform::DevicesChanged, this,
          [this](const std::vector<UsbDeviceInfo>& arrived, const std::vector<UsbDeviceInfo>& removed,
                 const std::vector<UsbDeviceInfo>& present) {
            present_ = present;
            for (const UsbDeviceInfo& d : arrived) Arrival(d);
            for (const UsbDeviceInfo& d : removed) Removal(d);
            // After any change of the device set the list is rebuilt (an arrival of the processor may have done it
            // already; the handle it took is kept).
            DeviceChange();
          });
  connect(&platform_, &UsbPlatform::ReportRead, this, [this](const QByteArray& data) {
    ShowRead(std::span(reinterpret_cast<const std::uint8_t*>(data.constData()), static_cast<std::size_t>(data.size())));
  });
  connect(&platform_, &UsbPlatform::ReadFailed, this, [this](const UsbError& error) { DeviceDataError(error); });
}

UsbLink::~UsbLink() {
  // The platform outlives the link (it is handed in); the device goes back to it.
  if (taken_) platform_.Close();
}

void UsbLink::Start() { platform_.Start(); }

// --- Link ------------------------------------------------------------------------------------------------------

bool UsbLink::Open(const QString&) {
  linked_ = useHid_ && taken_.has_value();
  return linked_;
}

void UsbLink::Close() { linked_ = false; }

bool UsbLink::Write(const Bytes& frame) {
  if (!linked_) return false;
  StageFrame(report_, frame);
  return SendReport(report_);
}

// --- The device list -------------------------------------------------------------------------------------------

void UsbLink::SetHeld(bool held) {
  if (held == held_) return;
  held_ = held;
  if (!held_) DeviceChange();
}

void UsbLink::Arrival(const UsbDeviceInfo& device) {
  emit History(QStringLiteral("Arrival of ") + QString::fromStdString(UsbDeviceName(device)));
  if (!HasProcessorIds(device)) return;
  if (!linked_) DeviceChange();
  emit ProcessorArrived();
}

void UsbLink::Removal(const UsbDeviceInfo& device) {
  emit History(QStringLiteral("Removal of ") + QString::fromStdString(UsbDeviceName(device)));
  if (!HasProcessorIds(device)) return;
  // The link in use ends first (the backend warns, then disconnects); the device itself goes with the next change.
  EndLink();
  emit ProcessorRemoved();
}

void UsbLink::DeviceChange() {
  devices_ = present_;
  names_.clear();
  for (const UsbDeviceInfo& d : devices_) names_.push_back(UsbDeviceName(d));
  const auto found = std::find(names_.begin(), names_.end(), std::string(kUsbProcessorName));
  hidListIndex_ = found == names_.end() ? kNoUsbEntry : static_cast<int>(found - names_.begin());

  if (hidListIndex_ == kNoUsbEntry) {
    // The processor is gone: a link still marked in use ends with it.
    EndLink();
    Release();
  } else {
    Take(static_cast<std::size_t>(hidListIndex_));
  }
  emit DevicesListed();
}

void UsbLink::Take(std::size_t index) {
  const UsbDeviceInfo& device = devices_[index];
  if (taken_ && taken_->path == device.path && platform_.IsOpen()) {
    // Already ours: an unrelated change keeps the handle and its reports.
    taken_ = device;
    useHid_ = true;
    return;
  }
  // Another link (or a search) has the processor's place: list, take nothing.
  if (held_) {
    if (taken_) {
      EndLink();
      Release();
    }
    return;
  }
  Release();
  UsbError error;
  if (!platform_.Open(device.path, error)) {
    // Listed but not ours to open (no permission on the device node): nothing could be written to it.
    emit History(QString::fromStdString(OpenErrorLine(error.message, error.code)));
    if (!refusalTold_) {
      refusalTold_ = true;
      emit OpenRefused(QString::fromStdString(device.path), error);
    }
    return;
  }
  taken_ = device;
  useHid_ = true;
}

void UsbLink::Release() {
  if (taken_) platform_.Close();
  taken_.reset();
  useHid_ = false;
  assembly_.Reset();
}

void UsbLink::EndLink() {
  if (!linked_) return;
  linked_ = false;
  emit Vanished();
}

// --- Reports ---------------------------------------------------------------------------------------------------

bool UsbLink::SendReport(const UsbReport& report) {
  if (!taken_) return false;
  UsbError error;
  if (!platform_.Write(report, error)) {
    // Only logged: the watchdogs end the link when no answer comes.
    emit History(QString::fromStdString(WriteErrorLine(error.message, error.code)));
    return false;
  }
  emit History(QString::fromStdString(WrittenReportLine(report)));
  return true;
}

bool UsbLink::SendBlockBody(UsbReport& report, std::span<const std::uint8_t, kUsbBlockBodySize> body) {
  if (!taken_) return false;
  for (int k = 0; k < kUsbBlockReports; ++k) {
    StageBlockReport(report, body, k);
    if (!SendReport(report)) return false;
  }
  return true;
}

void UsbLink::ShowRead(std::span<const std::uint8_t> data) {
  if (std::optional<std::string> whole = assembly_.Take(data)) emit Arrived(*whole);
}

void UsbLink::DeviceDataError(const UsbError& error) {
  emit History(QString::fromStdString(ReadErrorLine(error.message, error.code)));
}

}  // namespace k7310
