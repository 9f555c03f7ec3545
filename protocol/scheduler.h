// The transmit scheduler: pending slots leave one frame at a time on the window's timers, and between edits the
// device is polled for status.
#pragma once

#include "protocol/session.h"

namespace k7310 {

// Builds the frame of slot n from the model and marks it pending; does nothing while no link is open.
void QueueCommand(DeviceSession& s, int slot);
// The device settings write: empties RxHex first and afterwards, unless in broadcast, addresses the new ID.
// Returns true when DeviceIndex changed to NewDeviceId - 1.
bool QueueDeviceSettings(DeviceSession& s);

void ScanTick(DeviceSession& s, SessionDriver& h);    // sendTimer
void SendTick(DeviceSession& s, SessionDriver& h);    // Timer7
void ResumeTick(SessionDriver& h);  // Timer4
void PollTick(DeviceSession& s, SessionDriver& h);    // Timer1

// Copies a block given as text into the model outside the receive path (the caller shows it). The builders stay
// quiet while it runs; the link state is restored afterwards.
bool ApplyBlock(DeviceSession& s, std::string_view blockText);

}  // namespace k7310
