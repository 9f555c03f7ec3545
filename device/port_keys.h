// Port numbers of the serial ports in the port list.
//
// The device search and the link name a serial port by a small number: it is the row of the
// search matrix, and -1 ("none chosen"), 0 ("open found no port") and 100 ("HID link in use")
// are reserved. On Windows that number is the n of "COMn" (PortNumberFromName). Port names
// elsewhere ("/dev/ttyUSB0", "/dev/pts/7") carry no such number, so PortKeys hands each name a
// key of its own instead, stable for the whole run.
//
// One rule serves a whole run, chosen by the platform's naming: PortKeys for every name of a
// list that is not made of "COMn" names (IsComName), PortNumberFromName when it is. The two are
// never mixed in one list, so a handed-out key cannot collide with a COM number.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace k7310 {

inline constexpr int kPortNone = -1;     // no port chosen
inline constexpr int kPortNotFound = 0;  // the open found no port; also "cannot be used"
inline constexpr int kPortHid = 100;     // the USB HID link is in use
inline constexpr int kMaxPortKey = 255;  // the last row of the search matrix

class PortKeys {
 public:
  // The key of a port name; a name seen for the first time takes the next free key from 1 up,
  // skipping 100. Once keys 1..255 are gone, a new name gets kPortNotFound (254 names fit).
  int Key(const std::string& name);
  // The key of a name already seen, kPortNotFound for any other name. Hands out nothing.
  int Find(const std::string& name) const;
  // The name holding a key, empty for a key nobody holds.
  std::string Name(int key) const;
  // Number of names holding a key.
  std::size_t Count() const { return names_.size(); }

 private:
  std::map<std::string, int> keys_;
  std::vector<std::string> names_;  // index = order of arrival
  int next_ = 1;
};

// True for "COM" followed by one or more decimal digits and nothing else.
bool IsComName(std::string_view name);

// The Windows rule for a "COMn" name: the name minus its first three characters read as a
// decimal number; when that text is not a number (or too large for an int), `previous`, the
// value the port list had at this position before (0 for a new position).
int PortNumberFromName(std::string_view name, int previous);

}  // namespace k7310
