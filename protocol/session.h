// The device state shared by the scheduler, the receive parser and the editors, and the interface through which
// they reach the window, the timers and the link. Everything runs on the window thread.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/frame.h"
#include "protocol/model.h"
#include "protocol/slots.h"
#include "protocol/timers.h"

namespace k7310 {

// Routing flags: which feature awaits the next reply of its kind (1 = set).
struct RoutingFlags {
  int AwaitIdAck = 0;
  int AwaitSaveAck = 0;
  int AwaitDumpAll = 0;
  int AwaitDumpOne = 0;
  int AwaitKeep = 0;
  int AwaitRecall = 0;
};

inline constexpr int kGroupCount = 20;
inline constexpr int kGroupNameSize = 20;
using GroupNameBytes = std::array<std::uint8_t, kGroupNameSize>;

struct DeviceSession {
  ParameterModel model;
  CommandSlots commandSlots;
  bool LinkOpen = false;
  std::uint8_t DeviceIndex = 0;
  std::string RxHex;
  RoutingFlags flags;
  int DumpCount = 0;
  std::array<GroupNameBytes, kGroupCount> GroupName{};
  std::string PendingBlock;
  int CurrentSlot = 0;
  int ProgressSends = 0;
  int ProgressCount = 0;
  int SearchRunning = 0;
};

// What the core asks of the window. Defaults do nothing so that tests override only what they watch.
class SessionHost {
 public:
  virtual ~SessionHost() = default;
  virtual void SetTimer(TimerId id, bool on) = 0;
  // Puts the frame into TxFrame and the HID report and sends it over the link in use.
  virtual void Transmit(const Bytes& frame) = 0;

  virtual void ResetHidAssembly() {}
  // Device settings reply: replyingIndex is byte 3 of the reply.
  virtual void ShowDeviceSettings(int /*replyingIndex*/) {}
  virtual void ShowStatus(const std::string& /*temperature*/, const std::string& /*attenuation*/) {}
  virtual void CreditSearchAnswer() {}
  virtual void CollectStoredGroup(std::string_view /*blockText*/) {}
  // The 20th stored group has arrived: close the progress box, enable the controls, offer to save.
  virtual void FinishDumpAll() {}
  virtual void SaveDumpOne(std::string_view /*blockText*/) {}
  // A block has been decoded into the model: show what the window shows of it.
  virtual void ShowAppliedBlock() {}
  // After an applied reply the device-ID list and the port list are locked.
  virtual void LockPortSelection() {}
  virtual void FinishRecall() {}
  virtual void ShowGroupNames() {}
  virtual void ShowSendProgress(int /*percent*/) {}
  virtual void FinishSendProgress() {}
};

}  // namespace k7310
