#include "link/port_list.h"

#include <QFileInfo>

#include "link/serial_link.h"

namespace k7310 {

PortList::PortList() {
  source = [] { return ListSerialPorts({}); };
  present = [](const QString& path) { return IsCharacterDevice(path); };
}

void PortList::Build() { Take(source()); }

void PortList::Take(const QStringList& paths) {
  paths_ = paths;
  selected_ = Count() - 1;
  if (paths_.isEmpty()) return;
  numbers_.resize(static_cast<std::size_t>(paths_.size()), 0);
  for (qsizetype i = 0; i < paths_.size(); ++i) {
    const int key = keys_.Key(paths_[i].toStdString());
    if (key > 0) numbers_[static_cast<std::size_t>(i)] = key;
  }
}

bool PortList::Refresh() {
  const QStringList fresh = source();
  if (fresh == paths_) return false;
  Take(fresh);
  return true;
}

QString PortList::PathOf(int portNumber) const { return QString::fromStdString(keys_.Name(portNumber)); }

QString PortList::ShortName(const QString& path) {
  static const QString dev = QStringLiteral("/dev/");
  if (path.startsWith(dev) && path.size() > dev.size()) return path.mid(dev.size());
  const QString name = QFileInfo(path).fileName();
  return name.isEmpty() ? path : name;
}

}  // namespace k7310
