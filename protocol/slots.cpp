#include "protocol/slots.h"

#include <algorithm>

namespace k7310 {

void CommandSlots::Store(int slot, Bytes frame) {
  if (slot < 1 || slot > kBufferedSlots) return;
  buffers_[static_cast<std::size_t>(slot)] = std::move(frame);
  RaiseSlot(slot);
}

void CommandSlots::RaiseSlot(int slot) {
  if (slot < 1 || slot > kSlotCount) return;
  PendingFlags[static_cast<std::size_t>(slot)] = 1;
  if (onRaise) onRaise();
}

void CommandSlots::ClearAllSlots() { PendingFlags.fill(0); }

bool CommandSlots::AnyPending() const {
  return std::any_of(PendingFlags.begin() + 1, PendingFlags.end(), [](int f) { return f == 1; });
}

int CommandSlots::TakeNext() {
  for (int n = 1; n <= kSlotCount; ++n) {
    if (PendingFlags[static_cast<std::size_t>(n)] == 1) {
      PendingFlags[static_cast<std::size_t>(n)] = 0;
      return n;
    }
  }
  return 0;
}

Bytes CommandSlots::FrameFor(int slot, std::uint8_t deviceIndex) const {
  if (slot >= 1 && slot <= kBufferedSlots) return buffers_[static_cast<std::size_t>(slot)];
  if (slot == kQueryDeviceSettingsSlot) return QueryDeviceSettings(deviceIndex);
  return {};
}

}  // namespace k7310
