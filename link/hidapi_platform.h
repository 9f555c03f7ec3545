// The machine's USB HID devices through the HID library (hidraw): a watcher thread lists the devices every 250 ms
// and reports what changed, a reader thread per opened device takes its input reports. Both hand everything to the
// thread that made the platform through its event loop; opens, writes and closes run on that thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "link/usb_platform.h"

struct hid_device_;

namespace k7310 {

inline constexpr int kUsbWatchIntervalMs = 250;
inline constexpr int kUsbReadTimeoutMs = 100;
inline constexpr int kUsbReadErrorPauseMs = 250;
// The threads' names, as /proc and debuggers show them (at most 15 characters).
inline constexpr char kUsbWatcherThreadName[] = "k7310-usb-watch";
inline constexpr char kUsbReaderThreadName[] = "k7310-usb-read";

class HidapiPlatform : public UsbPlatform {
  Q_OBJECT

 public:
  explicit HidapiPlatform(QObject* parent = nullptr);
  // Stops and joins every thread, closes the device.
  ~HidapiPlatform() override;

  void Start() override;
  bool Open(const std::string& path, UsbError& error) override;
  void Close() override;
  bool IsOpen() const override { return device_ != nullptr; }
  bool Write(const UsbReport& report, UsbError& error) override;

 private:
  // What the reader of one opened device shares with the owner: its stop flag and the wait it pauses on.
  struct ReaderStop {
    std::mutex mutex;
    std::condition_variable wake;
    bool stop = false;
  };

  std::vector<UsbDeviceInfo> Enumerate();
  void Watch();
  void Read(hid_device_* device, ReaderStop& stop, unsigned generation);

  // Listing and opening share the library's global error state: one at a time.
  std::mutex library_;
  std::vector<UsbDeviceInfo> known_;  // the watcher's last list (Start sets it before the watcher runs)
  std::thread watcher_;
  std::mutex watchMutex_;
  std::condition_variable watchWake_;
  bool watchStop_ = false;

  hid_device_* device_ = nullptr;
  std::thread reader_;
  std::unique_ptr<ReaderStop> readerStop_;
  // Reports of a closed device that are still on their way are dropped by this.
  unsigned generation_ = 0;
};

}  // namespace k7310
