#include "protocol/scheduler.h"

#include "protocol/catalogue.h"
#include "protocol/group_block.h"

namespace k7310 {

void QueueCommand(DeviceSession& s, int slot) {
  if (!s.LinkOpen) return;
  if (slot == kQueryDeviceSettingsSlot) {
    s.commandSlots.RaiseSlot(slot);
    return;
  }
  s.commandSlots.Store(slot, BuildSlotFrame(slot, s.model, s.DeviceIndex));
}

bool QueueDeviceSettings(DeviceSession& s) {
  if (!s.LinkOpen) return false;
  s.RxHex.clear();
  QueueCommand(s, kDeviceSettingsSlot);
  if (s.DeviceIndex == kBroadcastIndex) return false;
  s.DeviceIndex = static_cast<std::uint8_t>(s.model.NewDeviceId - 1);
  return true;
}

void ScanTick(DeviceSession& s, SessionDriver& h) {
  if (!s.LinkOpen) return;
  const int n = s.commandSlots.TakeNext();
  if (n == 0) return;
  s.CurrentSlot = n;
  h.SetTimer(TimerId::sendTimer, false);
  h.SetTimer(TimerId::Timer1, false);
  h.SetTimer(TimerId::intimer, false);
  h.SetTimer(TimerId::Timer7, true);
}

void SendTick(DeviceSession& s, SessionDriver& h) {
  if (!s.LinkOpen) return;
  h.SetTimer(TimerId::Timer7, false);
  const Bytes frame = s.commandSlots.FrameFor(s.CurrentSlot, s.DeviceIndex);
  h.Send(frame);
  if (s.DeviceIndex == kBroadcastIndex) h.Send(frame);
  if (s.ProgressSends) {
    ++s.ProgressCount;
    const bool done = s.ProgressCount >= 6;
    if (done) s.ProgressSends = false;
    h.ReportProgress(16 * s.ProgressCount, done);
  }
  s.CurrentSlot = 0;
  h.SetTimer(TimerId::Timer4, true);
}

void ResumeTick(SessionDriver& h) {
  h.SetTimer(TimerId::Timer4, false);
  h.SetTimer(TimerId::Timer1, true);
  h.SetTimer(TimerId::sendTimer, true);
}

void PollTick(DeviceSession& s, SessionDriver& h) {
  if (!s.LinkOpen) return;
  s.RxHex.clear();
  h.Send(QueryStatus(s.DeviceIndex));
  h.SetTimer(TimerId::intimer, true);
}

bool ApplyBlock(DeviceSession& s, std::string_view blockText) {
  if (!IsBlockText(blockText)) return false;
  const bool wasOpen = s.LinkOpen;
  s.LinkOpen = false;
  DecodeBlock(blockText, s.model);
  s.commandSlots.ClearAllSlots();
  s.RxHex.clear();
  s.LinkOpen = wasOpen;
  return true;
}

}  // namespace k7310
