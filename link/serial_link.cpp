#include "link/serial_link.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>

#include <sys/stat.h>

#include <algorithm>

namespace k7310 {

QStringList ConsoleDevicePaths() {
  QFile f(QStringLiteral("/sys/class/tty/console/active"));
  if (!f.open(QIODevice::ReadOnly)) return {};
  // E.g. "tty0 ttyS0": the virtual terminals (tty<n>) are no serial ports; every other entry is kept out.
  static const QRegularExpression virtualTerminal(QStringLiteral("^tty[0-9]+$"));
  QStringList paths;
  for (const QString& n : QString::fromLatin1(f.readAll()).simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts))
    if (!virtualTerminal.match(n).hasMatch()) paths << QStringLiteral("/dev/") + n;
  return paths;
}

bool IsCharacterDevice(const QString& path) {
  struct stat st {};
  const QByteArray native = QFile::encodeName(path);
  return ::stat(native.constData(), &st) == 0 && S_ISCHR(st.st_mode);
}

QStringList ListSerialPorts(const QStringList& extraPaths) {
  const QStringList consoles = ConsoleDevicePaths();
  QStringList ports;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    const QString path = info.systemLocation();
    if (consoles.contains(path) || consoles.contains(QFileInfo(path).canonicalFilePath())) continue;
    ports << path;
  }
  // Extra paths must name a character device (a link to one will do), and never the console.
  for (const QString& p : extraPaths) {
    if (!IsCharacterDevice(p)) continue;
    if (consoles.contains(QFileInfo(p).canonicalFilePath()) || ports.contains(p)) continue;
    ports << p;
  }
  std::sort(ports.begin(), ports.end(),
            [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
  return ports;
}

SerialLink::SerialLink(QObject* parent) : Link(parent) {
  pause_.setSingleShot(true);
  pause_.setInterval(kReceivePauseMs);
  connect(&pause_, &QTimer::timeout, this, [this] { ReadPending(); });
  connect(&port_, &QSerialPort::readyRead, this, [this] { Notified(); });
  connect(&port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) { Failed(e); });
}

SerialLink::~SerialLink() { Close(); }

bool SerialLink::Open(const QString& path) {
  Close();
  vanished_ = false;
  port_.setPortName(path);
  port_.setReadBufferSize(kQueueBytes);
  if (!port_.open(QIODevice::ReadWrite)) return false;
  const bool ok = port_.setBaudRate(9600) && port_.setDataBits(QSerialPort::Data8) &&
                  port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop);
  if (!ok) {
    port_.close();
    return false;
  }
  port_.clear();
  return true;
}

void SerialLink::Close() {
  pause_.stop();
  if (port_.isOpen()) {
    port_.clear();
    port_.close();
  }
}

bool SerialLink::Write(const Bytes& frame) {
  if (frame.empty()) return true;
  if (!port_.isOpen()) return false;
  const qint64 n = port_.write(reinterpret_cast<const char*>(frame.data()), static_cast<qint64>(frame.size()));
  if (n != static_cast<qint64>(frame.size())) {
    port_.close();
    return false;
  }
  // The frame leaves now, so a following wait or close cannot hold it back.
  port_.flush();
  return true;
}

void SerialLink::Notified() {
  // One notification at a time: while a read is due or its parser run is still going (a dialog it opened runs a
  // nested event loop), further arrivals wait for it.
  if (!pause_.isActive() && !handing_) pause_.start();
}

void SerialLink::ReadPending() {
  if (!port_.isOpen()) return;
  const QByteArray data = port_.read(kMaxReadBytes);
  if (!data.isEmpty()) {
    const std::string hex = ToHexText(std::span(reinterpret_cast<const std::uint8_t*>(data.constData()),
                                                static_cast<std::size_t>(data.size())));
    handing_ = true;
    emit Arrived(hex);
    handing_ = false;
  }
  // Bytes that arrived during the pause or beyond the 1024 of this read make the next notification.
  if (port_.isOpen() && port_.bytesAvailable() > 0) pause_.start();
}

void SerialLink::Failed(QSerialPort::SerialPortError error) {
  if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError) return;
  // A hang-up reports ReadError over and over: close at the first one and report the port as gone, once.
  if (port_.isOpen()) port_.close();
  pause_.stop();
  if (vanished_) return;
  vanished_ = true;
  QTimer::singleShot(0, this, [this] { emit Vanished(); });
}

}  // namespace k7310
