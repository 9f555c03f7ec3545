#include "device/port_keys.h"

#include <limits>

namespace k7310 {

int PortKeys::Key(const std::string& name) {
  if (const auto it = keys_.find(name); it != keys_.end()) return it->second;
  if (next_ == kPortHid) ++next_;
  if (next_ > kMaxPortKey) return kPortNotFound;  // no row left in the search matrix
  const int key = next_++;
  keys_.emplace(name, key);
  names_.push_back(name);
  return key;
}

int PortKeys::Find(const std::string& name) const {
  const auto it = keys_.find(name);
  return it == keys_.end() ? kPortNotFound : it->second;
}

std::string PortKeys::Name(int key) const {
  // Keys were handed out in order 1, 2, .., 99, 101, ..: the position follows from the key.
  if (key < 1 || key == kPortHid || key > kMaxPortKey) return {};
  const std::size_t pos = static_cast<std::size_t>(key < kPortHid ? key - 1 : key - 2);
  return pos < names_.size() ? names_[pos] : std::string();
}

namespace {

// Plain decimal digits only (no sign, no blanks, no hex prefix) that fit an int.
bool ParseDecimal(std::string_view text, int& out) {
  if (text.empty()) return false;
  long long v = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
    if (v > std::numeric_limits<int>::max()) return false;
  }
  out = static_cast<int>(v);
  return true;
}

}  // namespace

bool IsComName(std::string_view name) {
  int ignored = 0;
  return name.size() > 3 && name.substr(0, 3) == "COM" && ParseDecimal(name.substr(3), ignored);
}

int PortNumberFromName(std::string_view name, int previous) {
  int n = 0;
  if (name.size() <= 3 || !ParseDecimal(name.substr(3), n)) return previous;
  return n;
}

}  // namespace k7310
