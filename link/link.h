// One interface for every way to the processor: the serial port, the USB link, and the test doubles. A link opens
// and closes, writes whole frames, and reports what arrived (as upper-case hex text, two digits per byte) and that
// it vanished. The device backend holds links it is given; it never makes one.
#pragma once

#include <QObject>
#include <QString>

#include <string>

#include "protocol/frame.h"

namespace k7310 {

class Link : public QObject {
  Q_OBJECT

 public:
  struct Abilities {
    bool search = false;        // the device search can sweep its ports
    bool broadcast = false;     // broadcast mode may use it
    bool wholeReplies = false;  // each arrival is a whole reply that replaces the receive text
  };

  using QObject::QObject;
  ~Link() override = default;

  virtual Abilities Can() const = 0;
  // Opens the link to a port (a serial device path; links without ports ignore it). True when it is up.
  virtual bool Open(const QString& port) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // Writes a whole frame. False when the link could not take it (closed, or the write failed).
  virtual bool Write(const Bytes& frame) = 0;
  // Forgets a reply that is only partly assembled (links that deliver whole replies).
  virtual void ResetAssembly() {}

 signals:
  // Received bytes as hex text; the receiver runs the parser once per arrival.
  void Arrived(const std::string& hex);
  // The port or device has gone (unplugged, the other end hung up). Emitted once, from the event loop.
  void Vanished();
};

}  // namespace k7310
