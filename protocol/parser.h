// The receive parser: recognises replies at the front of RxHex by fixed character positions, consumes them and
// routes group blocks to whichever feature awaits one. Checksums are not verified.
#pragma once

#include <string>

#include "protocol/session.h"

namespace k7310 {

inline constexpr std::size_t kRxHexLimit = 1000;

void ParseReceived(DeviceSession& s, SessionHost& h);

// Texts the parser shows.
std::string TemperatureText(int tempStep);         // ">=70 °C", "68 °C" .. "12 °C", "<=10 °C"
std::string AttenuationText(int db);               // "3 dB"
std::string LastLoadedGroupText(int group);        // "The last load group:Usr0         "
// Temperature step of a raw reading (capped at 5118).
int TemperatureStep(int tempRaw);

}  // namespace k7310
