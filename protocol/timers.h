// The window timers of the program and their intervals. The core names them; the window runs them.
#pragma once

#include <array>

namespace k7310 {

enum class TimerId {
  sendTimer, Timer7, Timer4, Timer1, intimer,  // scheduler and status poll
  chcon, chcon112, chcon188, Timer6, Timer13,  // connection
  refurbish, brocar1,                          // port list
  Timer124,                                    // start-up sweep
  Timer8, Timer9, Timer10, trunon1,            // bulk transfers
  Timer3, Timer22, Timer11,                    // group recall and store
  Timer12,                                     // one-group upload progress
  Timer2,                                      // ID change confirmation
  Timer342, Timer333, Timer332,                // initial data load
  Count
};

inline constexpr std::size_t kTimerCount = static_cast<std::size_t>(TimerId::Count);

struct TimerInfo {
  const char* name;
  int intervalMs;
};

inline constexpr std::array<TimerInfo, kTimerCount> kTimers = {{
    {"sendTimer", 10}, {"Timer7", 200}, {"Timer4", 300}, {"Timer1", 500}, {"intimer", 2000},
    {"chcon", 800}, {"chcon112", 1500}, {"chcon188", 2500}, {"Timer6", 2000}, {"Timer13", 1000},
    {"refurbish", 3000}, {"brocar1", 3000},
    {"Timer124", 10},
    {"Timer8", 700}, {"Timer9", 16000}, {"Timer10", 1000}, {"trunon1", 10},
    {"Timer3", 800}, {"Timer22", 10000}, {"Timer11", 10},
    {"Timer12", 800},
    {"Timer2", 10},
    {"Timer342", 200}, {"Timer333", 300}, {"Timer332", 1500},
}};

constexpr const TimerInfo& Info(TimerId id) { return kTimers[static_cast<std::size_t>(id)]; }

}  // namespace k7310
