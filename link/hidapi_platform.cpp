#include "link/hidapi_platform.h"

#include <pthread.h>

#include <hidapi.h>

#include <QMetaObject>
#include <QString>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace k7310 {
namespace {

// The library's global state (hid_init, the error text of listing and opening) is shared by every platform.
std::mutex& LibraryMutex() {
  static std::mutex m;
  return m;
}
int& LibraryUsers() {
  static int n = 0;
  return n;
}

std::string Utf8(const wchar_t* text) { return text ? QString::fromWCharArray(text).toStdString() : std::string(); }

// A failure without an error number (the device hung up under a read) counts as an input/output error.
UsbError ErrorOf(int code) {
  if (code == 0) code = EIO;
  return {code, std::strerror(code)};
}

bool SamePath(const UsbDeviceInfo& a, const UsbDeviceInfo& b) { return a.path == b.path; }

}  // namespace

HidapiPlatform::HidapiPlatform(QObject* parent) : UsbPlatform(parent) {
  // Once, on this thread, before any thread of ours runs.
  std::lock_guard lock(LibraryMutex());
  if (LibraryUsers()++ == 0) hid_init();
}

HidapiPlatform::~HidapiPlatform() {
  {
    std::lock_guard lock(watchMutex_);
    watchStop_ = true;
  }
  watchWake_.notify_all();
  if (watcher_.joinable()) watcher_.join();
  Close();
  std::lock_guard lock(LibraryMutex());
  if (--LibraryUsers() == 0) hid_exit();
}

std::vector<UsbDeviceInfo> HidapiPlatform::Enumerate() {
  std::vector<UsbDeviceInfo> devices;
  std::lock_guard lock(LibraryMutex());
  hid_device_info* list = hid_enumerate(0, 0);
  for (const hid_device_info* d = list; d; d = d->next) {
    devices.push_back({.path = d->path ? d->path : "",
                       .vendorId = d->vendor_id,
                       .productId = d->product_id,
                       .product = Utf8(d->product_string),
                       .serial = Utf8(d->serial_number)});
  }
  hid_free_enumeration(list);
  return devices;
}

void HidapiPlatform::Start() {
  if (watcher_.joinable()) return;
  // The devices present now arrive as soon as the event loop runs, ahead of any timer started with them.
  known_ = Enumerate();
  QMetaObject::invokeMethod(
      this, [this, present = known_] { emit DevicesChanged(present, {}, present); }, Qt::QueuedConnection);
  watcher_ = std::thread([this] {
    pthread_setname_np(pthread_self(), kUsbWatcherThreadName);
    Watch();
  });
}

void HidapiPlatform::Watch() {
  std::unique_lock lock(watchMutex_);
  for (;;) {
    if (watchWake_.wait_for(lock, std::chrono::milliseconds(kUsbWatchIntervalMs), [this] { return watchStop_; }))
      return;
    lock.unlock();
    std::vector<UsbDeviceInfo> present = Enumerate();
    std::vector<UsbDeviceInfo> arrived, removed;
    for (const UsbDeviceInfo& d : present)
      if (std::none_of(known_.begin(), known_.end(), [&](const UsbDeviceInfo& k) { return SamePath(d, k); }))
        arrived.push_back(d);
    for (const UsbDeviceInfo& k : known_)
      if (std::none_of(present.begin(), present.end(), [&](const UsbDeviceInfo& d) { return SamePath(d, k); }))
        removed.push_back(k);
    known_ = present;
    if (!arrived.empty() || !removed.empty()) {
      QMetaObject::invokeMethod(
          this,
          [this, arrived = std::move(arrived), removed = std::move(removed), present = std::move(present)] {
            emit DevicesChanged(arrived, removed, present);
          },
          Qt::QueuedConnection);
    }
    lock.lock();
  }
}

bool HidapiPlatform::Open(const std::string& path, UsbError& error) {
  Close();
  hid_device* device = nullptr;
  {
    std::lock_guard lock(LibraryMutex());
    errno = 0;
    device = hid_open_path(path.c_str());
    if (!device) {
      const int code = errno;
      error = code ? UsbError{code, std::strerror(code)} : UsbError{EIO, Utf8(hid_error(nullptr))};
      if (error.message.empty()) error.message = std::strerror(EIO);
      return false;
    }
  }
  device_ = device;
  ++generation_;
  readerStop_ = std::make_unique<ReaderStop>();
  reader_ = std::thread([this, device, stop = readerStop_.get(), generation = generation_] {
    pthread_setname_np(pthread_self(), kUsbReaderThreadName);
    Read(device, *stop, generation);
  });
  return true;
}

void HidapiPlatform::Read(hid_device_* device, ReaderStop& stop, unsigned generation) {
  std::array<unsigned char, kUsbReportSize> buffer{};
  bool failing = false;
  for (;;) {
    {
      std::lock_guard lock(stop.mutex);
      if (stop.stop) return;
    }
    errno = 0;
    const int n = hid_read_timeout(device, buffer.data(), buffer.size(), kUsbReadTimeoutMs);
    const int code = errno;
    if (n > 0) {
      failing = false;
      QByteArray data(reinterpret_cast<const char*>(buffer.data()), n);
      QMetaObject::invokeMethod(
          this,
          [this, generation, data = std::move(data)] {
            // A report of a device closed since is dropped.
            if (generation == generation_ && device_) emit ReportRead(data);
          },
          Qt::QueuedConnection);
      continue;
    }
    if (n == 0) {
      failing = false;
      continue;
    }
    // A failing device is told once per streak; the reader rests before it tries again.
    if (!failing) {
      failing = true;
      QMetaObject::invokeMethod(
          this,
          [this, generation, error = ErrorOf(code)] {
            if (generation == generation_ && device_) emit ReadFailed(error);
          },
          Qt::QueuedConnection);
    }
    std::unique_lock lock(stop.mutex);
    if (stop.wake.wait_for(lock, std::chrono::milliseconds(kUsbReadErrorPauseMs), [&] { return stop.stop; })) return;
  }
}

void HidapiPlatform::Close() {
  if (!device_) return;
  {
    std::lock_guard lock(readerStop_->mutex);
    readerStop_->stop = true;
  }
  readerStop_->wake.notify_all();
  // The reader is done with the device before it is closed.
  if (reader_.joinable()) reader_.join();
  readerStop_.reset();
  {
    std::lock_guard lock(LibraryMutex());
    hid_close(device_);
  }
  device_ = nullptr;
  ++generation_;
}

bool HidapiPlatform::Write(const UsbReport& report, UsbError& error) {
  if (!device_) {
    error = ErrorOf(ENODEV);
    return false;
  }
  // The whole 65-byte buffer: hidraw writes exactly the length it is given.
  errno = 0;
  const int n = hid_write(device_, report.data(), report.size());
  if (n < 0) {
    error = ErrorOf(errno);
    return false;
  }
  return true;
}

}  // namespace k7310
