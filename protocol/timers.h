// The timers the device backend runs for the scheduler, the status poll, the connect handshake and the port list,
// with their intervals. Timers of single features (the start-up sweep, the group transfers, ...) belong to the
// feature that runs them.
#pragma once

#include <array>
#include <cstddef>

namespace k7310 {

enum class TimerId {
  sendTimer, Timer7, Timer4, Timer1, intimer,  // scheduler and status poll
  chcon, chcon112, chcon188,                   // connect handshake watchdogs
  refurbish, brocar1,                          // port list upkeep
  Count
};

inline constexpr std::size_t kTimerCount = static_cast<std::size_t>(TimerId::Count);

struct TimerInfo {
  const char* name;
  int intervalMs;
};

inline constexpr std::array<TimerInfo, kTimerCount> kTimers = {{
    {"sendTimer", 10}, {"Timer7", 200}, {"Timer4", 300}, {"Timer1", 500}, {"intimer", 2000},
    {"chcon", 800}, {"chcon112", 1500}, {"chcon188", 2500},
    {"refurbish", 3000}, {"brocar1", 3000},
}};

constexpr const TimerInfo& Info(TimerId id) { return kTimers[static_cast<std::size_t>(id)]; }

// Timers of the window and of single features.
inline constexpr int kTimer6Ms = 2000;     // gives the connect button back
inline constexpr int kTimer13Ms = 1000;    // the link lamp
inline constexpr int kTimer124Ms = 10;     // starts the start-up sweep

}  // namespace k7310
