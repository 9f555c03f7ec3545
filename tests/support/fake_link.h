// A link for tests: records what is written, delivers what a test feeds it, and fails on demand.
#pragma once

#include <string>
#include <vector>

#include "link/link.h"

namespace k7310::test {

class FakeLink : public Link {
 public:
  Abilities Can() const override { return abilities; }
  bool Open(const QString& port) override {
    opened.push_back(port);
    open_ = !failOpen;
    return open_;
  }
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  bool Write(const Bytes& frame) override {
    if (!open_ || failWrites) return false;
    written.push_back(ToHexText(frame));
    return true;
  }
  void ResetAssembly() override { ++resets; }

  // What the other end sends.
  void Feed(const std::string& hex) { emit Arrived(hex); }
  void Vanish() {
    open_ = false;
    emit Vanished();
  }

  Abilities abilities{.search = true, .broadcast = true, .wholeReplies = false};
  bool failOpen = false;
  bool failWrites = false;
  std::vector<QString> opened;
  std::vector<std::string> written;
  int resets = 0;

 private:
  bool open_ = false;
};

}  // namespace k7310::test
