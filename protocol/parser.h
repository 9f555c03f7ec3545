// The receive parser: recognises replies at the front of RxHex in a fixed order, consumes them, updates the model
// and the routing flags, and returns what it recognised with the route each reply took. What follows from a reply
// (timers, sends, what the window shows) is the dispatch's business.
#pragma once

#include <vector>

#include "protocol/reply.h"
#include "protocol/session.h"

namespace k7310 {

std::vector<Reply> ParseReceived(DeviceSession& s);

}  // namespace k7310
