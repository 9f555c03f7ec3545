// The HID library's functions over one simulated processor (see sim_usb_control.h).
//
// One lock guards everything; a reading call waits on a condition variable until a report of its handle is due,
// its time-out passes, or something changes (a write, an unplug, a close, a reset, an injected fault). Reports
// fall due by the steady clock; the reading call itself moves them from the unit's queue to the open handles, so
// the library runs no thread of its own.
//
// Every open handle receives every input report that falls due while it is open (as every open hidraw descriptor
// does), up to 64 waiting reports per handle like the kernel's buffer; later ones are dropped.
//
// Error texts: hid_error answers for the calling thread. hid_error(NULL) is the message of this thread's last
// failed open or enumeration ("Success" after a successful one); hid_error(dev) the message of this thread's last
// failed call on dev ("Success" when its last call on dev went well). So a reader thread failing never changes what
// the window thread reads about its own failed write.
//
// Closing a handle while another thread waits in a read on it is the caller's fault (the real library would read a
// closed descriptor); here the waiting read wakes and fails with EBADF, and the last such read frees the handle. A
// call with a handle already closed fails with EBADF without touching it.
#include <hidapi.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "sim/hidapi/sim_usb_control.h"
#include "sim/usb_personality.h"

// The handle the functions hand out (hidapi declares it opaque).
struct hid_device_ {
  bool dead = false;    // the device was pulled out (or the library reset): reads and writes fail for good
  bool closed = false;  // hid_close ran while reads were waiting on it
  bool nonblocking = false;
  int waiters = 0;  // reads waiting on this handle
  std::int64_t openedMs = 0;
  std::deque<k7310::sim::UsbReportData> input;
  hid_device_info* info = nullptr;  // hid_get_device_info, made on demand
};

namespace k7310::sim::usb {
namespace {

using Clock = std::chrono::steady_clock;

// The kernel keeps this many input reports per open descriptor.
constexpr std::size_t kInputBufferReports = 64;
constexpr unsigned short kReleaseNumber = 0x0200;
constexpr char kEnvironment[] = "K7310_SIM_USB";

UsbDeviceInfo ProcessorInfo() { return {kProcessorPath, kUsbVendorId, kUsbProductId, kUsbProduct, kUsbSerial}; }

std::wstring Wide(const std::string& utf8) {
  std::wstring out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    const int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
    char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
    bool ok = extra >= 0 && i + static_cast<std::size_t>(extra) < utf8.size();
    for (int k = 1; ok && k <= extra; ++k) {
      const auto n = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
      ok = (n & 0xC0) == 0x80;
      c = (c << 6) | (n & 0x3F);
    }
    out.push_back(ok ? static_cast<wchar_t>(c) : L'\uFFFD');
    i += ok ? static_cast<std::size_t>(extra) + 1 : 1;
  }
  return out;
}

wchar_t* WideCopy(const std::string& utf8) {
  if (utf8.empty()) return nullptr;  // a string the device does not have
  const std::wstring w = Wide(utf8);
  auto* copy = static_cast<wchar_t*>(std::calloc(w.size() + 1, sizeof(wchar_t)));
  if (copy) std::wmemcpy(copy, w.c_str(), w.size());
  return copy;
}

hid_device_info* MakeInfo(const UsbDeviceInfo& d) {
  auto* info = static_cast<hid_device_info*>(std::calloc(1, sizeof(hid_device_info)));
  if (!info) return nullptr;
  info->path = strdup(d.path.c_str());
  info->vendor_id = d.vendorId;
  info->product_id = d.productId;
  info->serial_number = WideCopy(d.serial);
  info->release_number = kReleaseNumber;
  info->manufacturer_string = nullptr;
  info->product_string = WideCopy(d.product);
  info->interface_number = 0;
  info->bus_type = HID_API_BUS_USB;
  return info;
}

void FreeInfo(hid_device_info* info) {
  if (!info) return;
  std::free(info->path);
  std::free(info->serial_number);
  std::free(info->manufacturer_string);
  std::free(info->product_string);
  std::free(info);
}

// What a call did, applied to errno and the thread's error texts once the lock is released.
struct Outcome {
  int result = 0;
  int error = 0;  // errno; 0 = success
  std::string message;
};

Outcome Failure(int error, std::string message, int result = -1) { return {result, error, std::move(message)}; }

struct ThreadErrors {
  std::wstring global = L"Success";
  const hid_device* device = nullptr;  // the handle of this thread's last failed call, as a key only
  std::wstring deviceText;
};
thread_local ThreadErrors tErrors;

void NoteGlobal(const Outcome& o) {
  tErrors.global = o.error ? Wide(o.message) : L"Success";
  if (o.error) errno = o.error;
}

void NoteDevice(const hid_device* dev, const Outcome& o) {
  if (o.error) {
    tErrors.device = dev;
    tErrors.deviceText = Wide(o.message);
    errno = o.error;
  } else if (tErrors.device == dev) {
    tErrors.device = nullptr;
  }
}

std::string ErrnoText(const char* what, int error) { return std::string(what) + ": " + std::strerror(error); }

class Library {
 public:
  Library() : epoch_(Clock::now()) {
    ResetLocked(1, true);
    const char* env = std::getenv(kEnvironment);
    if (!env || !*env) return;
    char* end = nullptr;
    const long id = std::strtol(env, &end, 10);
    if (*end != '\0' || id < 1 || id > 254) {
      std::fprintf(stderr, "simulated USB library: %s=%s is no device ID 1..254; nothing is plugged in\n",
                   kEnvironment, env);
      return;
    }
    ResetLocked(static_cast<int>(id), false);  // a demo runs for hours: the model keeps no log
    plugged_ = true;
  }

  std::mutex mu;
  std::condition_variable changed;

  std::int64_t NowMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - epoch_).count();
  }
  Clock::time_point TimeOf(std::int64_t ms) const { return epoch_ + std::chrono::milliseconds(ms); }

  void ResetLocked(int deviceId, bool keepLog) {
    for (hid_device* h : handles_) Kill(*h);
    BusOptions options;
    options.keepLog = keepLog;
    unit_ = std::make_unique<UsbPersonality>(deviceId, options);
    plugged_ = false;
    refuseOpen_ = false;
    others_.clear();
    failWrites_ = 0;
    readError_.reset();
    written_.clear();
    changed.notify_all();
  }

  void PlugLocked(bool present) {
    if (present == plugged_) return;
    plugged_ = present;
    if (!present) {
      for (hid_device* h : handles_) Kill(*h);
      unit_->Disconnect();
    }
    changed.notify_all();
  }

  // Reports due by now go to every live handle that was open when they fell due.
  void Pump() {
    const std::int64_t now = NowMs();
    unit_->Advance(now);
    for (const InputReport& r : unit_->TakeDue(now)) {
      for (hid_device* h : handles_) {
        if (h->dead || r.dueMs < h->openedMs || h->input.size() >= kInputBufferReports) continue;
        h->input.push_back(r.data);
      }
    }
  }

  std::vector<UsbDeviceInfo> Present() const {
    std::vector<UsbDeviceInfo> list;
    if (plugged_) list.push_back(ProcessorInfo());
    for (std::size_t i = 0; i < others_.size(); ++i) {
      UsbDeviceInfo d = others_[i];
      if (d.path.empty()) d.path = "sim-usb:other-" + std::to_string(i + 1);
      list.push_back(std::move(d));
    }
    return list;
  }

  bool Known(const hid_device* dev) const {
    return dev && std::find(handles_.begin(), handles_.end(), dev) != handles_.end();
  }

  hid_device* OpenLocked(const std::string& path, Outcome& o) {
    auto fail = [&](int error) {
      o = Failure(error, "Failed to open a device with path '" + path + "': " + std::strerror(error));
      return nullptr;
    };
    if (path != kProcessorPath) {
      for (const UsbDeviceInfo& d : Present())
        if (d.path == path) return fail(EACCES);  // the other devices belong to someone else
      return fail(ENOENT);
    }
    if (!plugged_) return fail(ENOENT);
    if (refuseOpen_) return fail(EACCES);
    auto* dev = new hid_device;
    dev->openedMs = NowMs();
    handles_.push_back(dev);
    o = {};
    return dev;
  }

  // Closes a handle; a read still waiting on it frees it when it leaves.
  void CloseLocked(hid_device* dev) {
    handles_.erase(std::find(handles_.begin(), handles_.end(), dev));
    Kill(*dev);
    dev->closed = true;
    if (dev->waiters == 0) Free(dev);
    changed.notify_all();
  }

  static void Free(hid_device* dev) {
    FreeInfo(dev->info);
    delete dev;
  }

  Outcome ReadLocked(std::unique_lock<std::mutex>& lock, hid_device* dev, unsigned char* data, std::size_t length,
                     int milliseconds) {
    ++dev->waiters;
    ++waitingReads_;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(milliseconds, 0));
    Outcome o;
    for (;;) {
      Pump();
      if (dev->closed) {
        o = Failure(EBADF, "hid_read_timeout: the device was closed while being read");
        break;
      }
      if (dev->dead) {
        o = Failure(ENODEV, "hid_read_timeout: unexpected poll error (device disconnected)");
        break;
      }
      if (readError_) {
        o = Failure(*readError_, ErrnoText("hid_read_timeout", *readError_));
        readError_.reset();
        break;
      }
      if (!dev->input.empty()) {
        const std::size_t n = std::min(length, kUsbReportDataSize);
        std::copy_n(dev->input.front().begin(), n, data);
        dev->input.pop_front();
        o.result = static_cast<int>(n);
        break;
      }
      if (milliseconds == 0 || (milliseconds > 0 && Clock::now() >= deadline)) break;  // nothing came: 0
      std::optional<Clock::time_point> wake;
      if (milliseconds > 0) wake = deadline;
      if (const auto due = unit_->NextDueMs()) wake = wake ? std::min(*wake, TimeOf(*due)) : TimeOf(*due);
      if (wake) {
        changed.wait_until(lock, *wake);
      } else {
        changed.wait(lock);
      }
    }
    --waitingReads_;
    if (--dev->waiters == 0 && dev->closed) Free(dev);
    return o;
  }

  Outcome WriteLocked(hid_device* dev, const unsigned char* data, std::size_t length) {
    written_.emplace_back(data, data + length);
    if (dev->dead) return Failure(ENODEV, ErrnoText("hid_write", ENODEV));
    if (length != kUsbReportSize || data[0] != 0) {
      return Failure(EINVAL, ErrnoText("hid_write", EINVAL) + " (the device takes report number 0 and 64 bytes; given " +
                                 std::to_string(length) + " bytes, report number " + std::to_string(data[0]) + ")");
    }
    if (failWrites_ > 0) {
      --failWrites_;
      return Failure(failWriteError_, ErrnoText("hid_write", failWriteError_));
    }
    Pump();
    unit_->TakeOutputReport(std::span<const std::uint8_t, kUsbReportDataSize>(data + 1, kUsbReportDataSize),
                            NowMs());
    changed.notify_all();
    return {static_cast<int>(length), 0, {}};
  }

  UsbPersonality& Unit() { return *unit_; }
  bool plugged() const { return plugged_; }
  void SetOthers(std::vector<UsbDeviceInfo> others) { others_ = std::move(others); }
  void FailWrites(int n, int error) {
    failWrites_ = std::max(n, 0);
    failWriteError_ = error;
  }
  void InjectRead(int error) {
    readError_ = error;
    changed.notify_all();
  }
  void Refuse(bool refuse) { refuseOpen_ = refuse; }
  std::vector<std::vector<std::uint8_t>>& Written() { return written_; }
  int OpenCount() const { return static_cast<int>(handles_.size()); }
  int WaitingCount() const { return waitingReads_; }

 private:
  static void Kill(hid_device& h) {
    h.dead = true;
    h.input.clear();
  }

  const Clock::time_point epoch_;
  std::unique_ptr<UsbPersonality> unit_;
  bool plugged_ = false;
  bool refuseOpen_ = false;
  std::vector<UsbDeviceInfo> others_;
  int failWrites_ = 0;
  int failWriteError_ = EIO;
  std::optional<int> readError_;
  std::vector<std::vector<std::uint8_t>> written_;
  std::vector<hid_device*> handles_;  // opened and not yet closed, dead ones included
  int waitingReads_ = 0;
};

// Never destroyed: a thread may still wait inside while the process ends.
Library& Lib() {
  static Library* lib = new Library;
  return *lib;
}

Outcome BadHandle(const char* what) { return Failure(EBADF, std::string(what) + ": not an open device handle"); }

int DeviceString(hid_device* dev, wchar_t* string, std::size_t maxlen, std::string UsbDeviceInfo::*field,
                 const char* what) {
  Outcome o;
  std::string text;
  {
    Library& lib = Lib();
    std::lock_guard lock(lib.mu);
    if (!lib.Known(dev)) {
      o = BadHandle(what);
    } else if (!string || maxlen == 0) {
      o = Failure(EINVAL, std::string(what) + ": no buffer");
    } else if (field) {
      text = ProcessorInfo().*field;
    }
    if (!o.error && text.empty()) o = Failure(ENOENT, std::string(what) + ": the device has no such string");
  }
  if (!o.error) {
    const std::wstring w = Wide(text);
    std::wcsncpy(string, w.c_str(), maxlen);
    string[maxlen - 1] = L'\0';
  }
  NoteDevice(dev, o);
  return o.error ? -1 : 0;
}

int Unsupported(hid_device* dev, const char* what) {
  NoteDevice(dev, Failure(ENOSYS, std::string(what) + ": not supported by the simulated processor"));
  return -1;
}

}  // namespace

// ---- control -------------------------------------------------------------------------------------------------

void Reset(int deviceId) {
  Library& lib = Lib();
  std::lock_guard lock(lib.mu);
  lib.ResetLocked(deviceId, true);
}

void Plug(bool present) {
  Library& lib = Lib();
  std::lock_guard lock(lib.mu);
  lib.PlugLocked(present);
}

bool Plugged() {
  Library& lib = Lib();
  std::lock_guard lock(lib.mu);
  return lib.plugged();
}

void SetOtherDevices(const std::vector<UsbDeviceInfo>& devices) {
  Library& lib = Lib();
  std::lock_guard lock(lib.mu);
  lib.SetOthers(devices);
}

void FailNextWrites(int n, int error) {
  Library& lib = Lib();
  std::lock_guard lock(lib.mu);
  lib.FailWrites(n, error);
}

void InjectReadError(int error) {
  Library& lib = Lib();
  std::lock_guard lock(lib.mu);
  lib.InjectRead(error);
}

void RefuseOpen(bool refuse) {
  Library& lib = Lib();
  std::lock_guard lock(lib.mu);
  lib.Refuse(refuse);
}

void WithBus(const std::function<void(Bus&)>& use) {
  Library& lib = Lib();
  std::lock_guard lock(lib.mu);
  use(lib.Unit().Model());
}

std::vector<std::vector<std::uint8_t>> WrittenReports() {
  Library& lib = Lib();
  std::lock_guard lock(lib.mu);
  return lib.Written();
}

void ClearWrittenReports() {
  Library& lib = Lib();
  std::lock_guard lock(lib.mu);
  lib.Written().clear();
}

int OpenHandles() {
  Library& lib = Lib();
  std::lock_guard lock(lib.mu);
  return lib.OpenCount();
}

int WaitingReads() {
  Library& lib = Lib();
  std::lock_guard lock(lib.mu);
  return lib.WaitingCount();
}

}  // namespace k7310::sim::usb

// ---- the HID library's functions ------------------------------------------------------------------------------

namespace usb = k7310::sim::usb;

extern "C" {

int hid_init(void) {
  usb::Lib();
  return 0;
}

int hid_exit(void) {
  usb::tErrors = {};
  return 0;
}

hid_device_info* hid_enumerate(unsigned short vendor_id, unsigned short product_id) {
  std::vector<k7310::UsbDeviceInfo> present;
  {
    usb::Library& lib = usb::Lib();
    std::lock_guard lock(lib.mu);
    present = lib.Present();
  }
  hid_device_info* head = nullptr;
  hid_device_info** tail = &head;
  for (const k7310::UsbDeviceInfo& d : present) {
    if ((vendor_id && d.vendorId != vendor_id) || (product_id && d.productId != product_id)) continue;
    if (hid_device_info* info = usb::MakeInfo(d)) {
      *tail = info;
      tail = &info->next;
    }
  }
  // An empty list is no failure: errno stays, the text says why the list is empty (as the real library does).
  usb::tErrors.global = head ? L"Success" : L"No HID devices found in the system.";
  return head;
}

void hid_free_enumeration(hid_device_info* devs) {
  while (devs) {
    hid_device_info* next = devs->next;
    usb::FreeInfo(devs);
    devs = next;
  }
}

hid_device* hid_open(unsigned short vendor_id, unsigned short product_id, const wchar_t* serial_number) {
  usb::Outcome o = usb::Failure(ENOENT, "hid_open: device not found");
  hid_device* dev = nullptr;
  {
    usb::Library& lib = usb::Lib();
    std::lock_guard lock(lib.mu);
    for (const k7310::UsbDeviceInfo& d : lib.Present()) {
      if (d.vendorId != vendor_id || d.productId != product_id) continue;
      if (serial_number && usb::Wide(d.serial) != serial_number) continue;
      dev = lib.OpenLocked(d.path, o);
      break;
    }
  }
  usb::NoteGlobal(o);
  return dev;
}

hid_device* hid_open_path(const char* path) {
  usb::Outcome o = usb::Failure(EINVAL, "hid_open_path: no path");
  hid_device* dev = nullptr;
  if (path) {
    usb::Library& lib = usb::Lib();
    std::lock_guard lock(lib.mu);
    dev = lib.OpenLocked(path, o);
  }
  usb::NoteGlobal(o);
  return dev;
}

void hid_close(hid_device* dev) {
  {
    usb::Library& lib = usb::Lib();
    std::lock_guard lock(lib.mu);
    if (!lib.Known(dev)) return;
    lib.CloseLocked(dev);
  }
  if (usb::tErrors.device == dev) usb::tErrors.device = nullptr;
}

int hid_write(hid_device* dev, const unsigned char* data, size_t length) {
  usb::Outcome o;
  {
    usb::Library& lib = usb::Lib();
    std::lock_guard lock(lib.mu);
    if (!lib.Known(dev)) {
      o = usb::BadHandle("hid_write");
    } else if (!data) {
      o = usb::Failure(EINVAL, "hid_write: no data");
    } else {
      o = lib.WriteLocked(dev, data, length);
    }
  }
  usb::NoteDevice(dev, o);
  return o.error ? -1 : o.result;
}

int hid_read_timeout(hid_device* dev, unsigned char* data, size_t length, int milliseconds) {
  usb::Outcome o;
  {
    usb::Library& lib = usb::Lib();
    std::unique_lock lock(lib.mu);
    if (!lib.Known(dev)) {
      o = usb::BadHandle("hid_read_timeout");
    } else if (!data) {
      o = usb::Failure(EINVAL, "hid_read_timeout: no buffer");
    } else {
      o = lib.ReadLocked(lock, dev, data, length, milliseconds);
    }
  }
  usb::NoteDevice(dev, o);
  return o.error ? -1 : o.result;
}

int hid_read(hid_device* dev, unsigned char* data, size_t length) {
  bool nonblocking = false;
  {
    usb::Library& lib = usb::Lib();
    std::lock_guard lock(lib.mu);
    if (lib.Known(dev)) nonblocking = dev->nonblocking;
  }
  return hid_read_timeout(dev, data, length, nonblocking ? 0 : -1);
}

int hid_set_nonblocking(hid_device* dev, int nonblock) {
  usb::Outcome o;
  {
    usb::Library& lib = usb::Lib();
    std::lock_guard lock(lib.mu);
    if (lib.Known(dev)) {
      dev->nonblocking = nonblock != 0;
    } else {
      o = usb::BadHandle("hid_set_nonblocking");
    }
  }
  usb::NoteDevice(dev, o);
  return o.error ? -1 : 0;
}

int hid_send_feature_report(hid_device* dev, const unsigned char*, size_t) {
  return usb::Unsupported(dev, "hid_send_feature_report");
}

int hid_get_feature_report(hid_device* dev, unsigned char*, size_t) {
  return usb::Unsupported(dev, "hid_get_feature_report");
}

int hid_get_input_report(hid_device* dev, unsigned char*, size_t) {
  return usb::Unsupported(dev, "hid_get_input_report");
}

int hid_get_manufacturer_string(hid_device* dev, wchar_t* string, size_t maxlen) {
  return usb::DeviceString(dev, string, maxlen, nullptr, "hid_get_manufacturer_string");
}

int hid_get_product_string(hid_device* dev, wchar_t* string, size_t maxlen) {
  return usb::DeviceString(dev, string, maxlen, &k7310::UsbDeviceInfo::product, "hid_get_product_string");
}

int hid_get_serial_number_string(hid_device* dev, wchar_t* string, size_t maxlen) {
  return usb::DeviceString(dev, string, maxlen, &k7310::UsbDeviceInfo::serial, "hid_get_serial_number_string");
}

hid_device_info* hid_get_device_info(hid_device* dev) {
  usb::Outcome o;
  hid_device_info* info = nullptr;
  {
    usb::Library& lib = usb::Lib();
    std::lock_guard lock(lib.mu);
    if (!lib.Known(dev)) {
      o = usb::BadHandle("hid_get_device_info");
    } else {
      if (!dev->info) dev->info = usb::MakeInfo(usb::ProcessorInfo());
      info = dev->info;
    }
  }
  usb::NoteDevice(dev, o);
  return info;
}

int hid_get_indexed_string(hid_device* dev, int, wchar_t*, size_t) {
  return usb::Unsupported(dev, "hid_get_indexed_string");
}

const wchar_t* hid_error(hid_device* dev) {
  if (!dev) return usb::tErrors.global.c_str();
  return usb::tErrors.device == dev ? usb::tErrors.deviceText.c_str() : L"Success";
}

const hid_api_version* hid_version(void) {
  static const hid_api_version version{HID_API_VERSION_MAJOR, HID_API_VERSION_MINOR, HID_API_VERSION_PATCH};
  return &version;
}

const char* hid_version_str(void) { return HID_API_VERSION_STR; }

}  // extern "C"
