// The device state shared by the scheduler, the receive parser and the editors, and the small interface through
// which the scheduler switches its timers and sends. Everything runs on the window thread.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "protocol/frame.h"
#include "protocol/model.h"
#include "protocol/reply.h"
#include "protocol/slots.h"
#include "protocol/timers.h"

namespace k7310 {

// Routing flags: which feature awaits the next reply of its kind.
struct RoutingFlags {
  bool AwaitIdAck = false;
  bool AwaitSaveAck = false;
  bool AwaitDumpAll = false;
  bool AwaitDumpOne = false;
  bool AwaitKeep = false;
  bool AwaitRecall = false;
};

struct DeviceSession {
  ParameterModel model;
  CommandSlots commandSlots;
  bool LinkOpen = false;
  std::uint8_t DeviceIndex = 0;
  std::string RxHex;
  RoutingFlags flags;
  int DumpCount = 0;
  GroupNames GroupName{};
  std::string PendingBlock;
  int CurrentSlot = 0;
  bool ProgressSends = false;
  int ProgressCount = 0;
};

// What the scheduler asks of the side that runs it: its timers and the link.
class SessionDriver {
 public:
  virtual ~SessionDriver() = default;
  virtual void SetTimer(TimerId id, bool on) = 0;
  // Sends the frame over the link in use.
  virtual void Send(const Bytes& frame) = 0;
  // The "0 dB" progress: percent after each of its sends; done after the last.
  virtual void ReportProgress(int /*percent*/, bool /*done*/) {}
};

}  // namespace k7310
