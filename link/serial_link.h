// The serial link: lists the machine's ports, opens one at 9600 8N1 and turns received bytes into upper-case hex
// text. Reception follows a handshake: a notification arms a 50 ms pause, then at most 1024 bytes are read and
// handed over in one piece; only then may the next notification be taken.
#pragma once

#include <QObject>
#include <QSerialPort>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <string>

#include "protocol/frame.h"

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

class SerialLink : public QObject {
 public:
  explicit SerialLink(QObject* parent = nullptr);
  ~SerialLink() override;

  // Opens the port at 9600 baud, 8 data bits, no parity, one stop bit. True when the line settings took.
  bool Open(const QString& path);
  void Close();
  bool IsOpen() const { return port_.isOpen(); }
  // Writes the whole frame; does nothing when the port is closed or the frame empty. On a write error the port is
  // closed (the link's watchdogs notice the silence).
  void Write(const Bytes& frame);

  // Called with the hex text of each read (two upper-case digits per byte).
  std::function<void(const std::string& hex)> onReceived;
  // Called once, from the event loop, when the port reports that it is gone (unplugged, the other end hung up).
  std::function<void()> onVanished;

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
