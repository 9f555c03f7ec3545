// Waits a number of milliseconds while the window keeps handling its messages: timers fire and received data is
// parsed inside the wait. A nested event loop, so the wait sleeps instead of spinning a core.
#pragma once

namespace k7310 {

void WaitWithMessages(int ms);

}  // namespace k7310
