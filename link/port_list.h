// The serial ports the program offers: the list as it was last read, the port number of each entry, the entry the
// user chose and the port number to open. The window shows the list; the list itself lives here, so that the
// connection, the search and the upkeep timers read the same data.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

#include "device/port_keys.h"

namespace k7310 {

class PortList {
 public:
  PortList();

  // Where the list comes from: the machine's ports plus extra paths. Tests hand in their own, so that no real port
  // of the machine is ever opened by them.
  std::function<QStringList()> source;
  // Whether a listed port is still there.
  std::function<bool(const QString& path)> present;

  // Reads the list anew, selects its last entry and sets the port number of every entry (a list that comes back
  // empty leaves the numbers as they were).
  void Build();
  // Reads the list; rebuilds it only when it differs from the one shown. True when it was rebuilt.
  bool Refresh();

  const QStringList& Paths() const { return paths_; }
  int Count() const { return static_cast<int>(paths_.size()); }
  // The entry the user chose; -1 for none.
  int Selected() const { return selected_; }
  void Select(int index) { selected_ = index >= 0 && index < Count() ? index : -1; }
  QString SelectedPath() const { return selected_ >= 0 ? paths_[selected_] : QString(); }
  // Port numbers of the entries (the rows of the search matrix).
  const std::vector<int>& PortNumbers() const { return numbers_; }
  // The path behind a port number; empty for none.
  QString PathOf(int portNumber) const;
  // The port number to open: -1 none chosen, 0 an open found no port, 100 the USB link.
  int PortNumber = kPortNone;

  // A short name that fits a narrow list: "/dev/ttyUSB0" -> "ttyUSB0", "/dev/pts/3" -> "pts/3", any other path
  // -> its last component.
  static QString ShortName(const QString& path);

 private:
  void Take(const QStringList& paths);

  QStringList paths_;
  std::vector<int> numbers_;
  PortKeys keys_;
  int selected_ = -1;
};

}  // namespace k7310
