// The 50 pending-transmit slots. Lower numbers leave first.
#pragma once

#include <array>
#include <functional>

#include "protocol/catalogue.h"
#include "protocol/frame.h"

namespace k7310 {

class CommandSlots {
 public:
  // Stores the frame of a buffered slot (1..36) and marks the slot pending.
  void Store(int slot, Bytes frame);
  // Marks slot n pending; raising a pending slot changes nothing.
  void RaiseSlot(int slot);
  void ClearAllSlots();
  bool IsPending(int slot) const { return slot >= 1 && slot <= kSlotCount && PendingFlags[slot] == 1; }
  bool AnyPending() const;
  // Takes the lowest pending slot and clears its flag; 0 when none is pending.
  int TakeNext();
  // The frame a taken slot sends now: the buffer as it stands (later edits included), or for slot 37 the settings
  // query built for the current device index.
  Bytes FrameFor(int slot, std::uint8_t deviceIndex) const;

  // Index 0 is unused; a flag counts as pending only when it equals 1.
  std::array<int, kSlotCount + 1> PendingFlags{};
  // Told of every raise, so that a resting scan can wake up.
  std::function<void()> onRaise;

 private:
  std::array<Bytes, kBufferedSlots + 1> buffers_{};
};

}  // namespace k7310
