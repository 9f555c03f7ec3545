// The simulated processor behind the USB library's interface. A library with the same functions as the system's
// HID library (and its file name, so a program can load it in its place) serves one simulated processor on USB,
// answering output reports with a header report and data reports from the same processor model as the
// pseudo-terminal front-end. Tests (linked against it) and the demo (which loads it in place of the system's
// library) drive it with these calls; every call is safe from any thread.
//
// Without any call, nothing is plugged in, unless the environment variable K7310_SIM_USB is set when the library
// is first used: "1" plugs in a processor with device ID 1, "ID" (1..254) one with that ID.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "protocol/hid_reports.h"
#include "sim/bus.h"

namespace k7310::sim::usb {

// The device path of the simulated processor, as the device list reports it.
inline constexpr char kProcessorPath[] = "sim-usb:processor";

// Everything back to the start: unplugged, no other devices, no faults, a new processor model with this ID (its
// stored groups and settings as a fresh unit has them), no written reports on record. Open handles go dead.
void Reset(int deviceId = 1);

// Plugs the processor in or pulls it out. Pulled out, it leaves the device list; handles opened on it go dead for
// good (reads and writes fail with ENODEV), also after it is plugged in again. The model keeps its state.
void Plug(bool present);
bool Plugged();

// Further HID devices in the list (never openable; for the matching rules). The processor comes first.
void SetOtherDevices(const std::vector<UsbDeviceInfo>& devices);

// Faults: the next n writes fail with this errno; the next read reports an error with this errno (once); opens of
// the processor are refused with EACCES, as without permission on the device node.
void FailNextWrites(int n, int error = 5 /* EIO */);
void InjectReadError(int error = 5 /* EIO */);
void RefuseOpen(bool refuse);

// The processor's model, under the library's lock (temperature, silence, stored groups, ...).
void WithBus(const std::function<void(Bus&)>& use);

// Every buffer given to a write on the processor, as given (report number and 64 bytes for a proper report), in
// order, failed writes included.
std::vector<std::vector<std::uint8_t>> WrittenReports();
void ClearWrittenReports();

// Handles open on the processor now, and reads waiting inside the library now.
int OpenHandles();
int WaitingReads();

}  // namespace k7310::sim::usb
