// The serial link: lists the machine's ports, opens one at 9600 8N1 and turns received bytes into upper-case hex
// text. Reception follows a handshake: a notification arms a 50 ms pause, then at most 1024 bytes are read and
// handed over in one piece; only then may the next notification be taken.
#pragma once

#include <QSerialPort>
#include <QStringList>
#include <QTimer>

#include "link/link.h"

namespace k7310 {

inline constexpr int kReceivePauseMs = 50;
inline constexpr int kMaxReadBytes = 1024;
inline constexpr int kQueueBytes = 4096;

// The serial devices that carry the system console, which must never be probed (e.g. "/dev/ttyS0").
QStringList ConsoleDevicePaths();

// A device node (a link to one will do).
bool IsCharacterDevice(const QString& path);

// The machine's serial ports, without the system console, plus every extra path that exists (for example a
// simulator's pseudo-terminal given on the command line), sorted case-insensitively.
QStringList ListSerialPorts(const QStringList& extraPaths);

class SerialLink : public Link {
 public:
  explicit SerialLink(QObject* parent = nullptr);
  ~SerialLink() override;

  Abilities Can() const override { return {.search = true, .broadcast = true, .wholeReplies = false}; }
  // Opens the port at 9600 baud, 8 data bits, no parity, one stop bit. True when the line settings took.
  bool Open(const QString& path) override;
  void Close() override;
  bool IsOpen() const override { return port_.isOpen(); }
  // Writes the whole frame. On a write error the port is closed (the watchdogs notice the silence) and the write
  // counts as failed; so does a write on a closed port. An empty frame writes nothing and succeeds.
  bool Write(const Bytes& frame) override;

 private:
  void Notified();
  void ReadPending();
  void Failed(QSerialPort::SerialPortError error);

  QSerialPort port_;
  QTimer pause_;
  bool vanished_ = false;
  bool handing_ = false;
};

}  // namespace k7310
