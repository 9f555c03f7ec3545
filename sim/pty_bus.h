// One bus behind a pseudo-terminal: the controller opens the slave side like a serial port, the simulator reads
// and writes the master side. POSIX only.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "sim/bus.h"
#include "sim/pacer.h"

namespace k7310::sim {

class PtyBus {
 public:
  explicit PtyBus(BusOptions options);
  ~PtyBus();
  PtyBus(const PtyBus&) = delete;
  PtyBus& operator=(const PtyBus&) = delete;

  // Creates the pseudo-terminal, in raw mode at 9600 8N1 before anything is written, and keeps a slave
  // descriptor of its own so that the master never sees a hang-up while the controller closes and reopens.
  bool Open(std::string& error);
  bool IsOpen() const { return master_ >= 0; }
  const std::string& SlavePath() const { return slavePath_; }
  int MasterFd() const { return master_; }
  // A write could not be finished: wait for the master to become writable.
  bool WriteBlocked() const { return blocked_; }

  Bus& Model() { return bus_; }

  // The master has data (or an error): read it and queue the answers.
  void OnReadable(std::int64_t nowUs);
  // Runs the model's timers and writes whatever the line has carried by now.
  void Service(std::int64_t nowUs);
  // The next moment Service has work; nothing while idle.
  std::optional<std::int64_t> NextWakeUs() const;
  // Closes both descriptors: the controller's end reads a hang-up and the device node disappears.
  void HangUp();

  // Traffic as it leaves or enters the line: received frames when taken, sent pieces when fully written.
  std::function<void(std::int64_t nowUs, Traffic kind, std::span<const std::uint8_t> bytes)> onTraffic;

 private:
  void Queue(std::vector<Outgoing> out);
  void Flush(std::int64_t nowUs);

  Bus bus_;
  Pacer pacer_;
  int master_ = -1;
  int ownSlave_ = -1;
  std::string slavePath_;
  bool blocked_ = false;
  std::int64_t nowUs_ = 0;
};

}  // namespace k7310::sim
