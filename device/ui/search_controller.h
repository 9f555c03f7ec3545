// The window's side of the device search: the start-up sweep when the window first runs, the full search on
// demand, the progress box with its Cancel button and the result box.
#pragma once

#include <QAction>
#include <QObject>
#include <QPushButton>

#include <functional>

#include "device/backend/device_search.h"
#include "device/search.h"

namespace k7310 {

class DeviceBackend;
class PanelFrame;
class SearchProgressBox;
class SearchResultBox;
struct Regions;

struct SearchControls {
  QPushButton* Button8;  // "search device id"
  QPushButton* Button9;  // "search result"
  QAction* ID1;          // full search (hidden menu)
  QAction* N14;          // show the results (hidden menu)
  SearchProgressBox* RzGroupBox3;
  SearchResultBox* RzGroupBox2;
};

class SearchController : public QObject {
 public:
  SearchController(DeviceBackend& backend, const SearchControls& controls, const Regions& regions,
                   PanelFrame& panels, std::function<void()> showWarning, QObject* parent);

  // Arms the start-up sweep; it runs once the event loop does.
  void Start();

  void ID1Click();      // full search, device indices 0..255
  void Button2Click();  // cancel
  void N14Click();      // show the result box

  SearchHits hits;
  StartupSweep startup;
  DeviceSearch full;

 private:
  void StartupDone();
  void FullDone();
  void ListResults(int lastRowCol);
  // A USB device is in use: there is nothing to search on the serial ports; the regions show at once.
  void ShowWithoutSearch(bool withStrip);

  DeviceBackend& backend_;
  SearchControls c_;
  const Regions& regions_;
  PanelFrame& panels_;
  std::function<void()> showWarning_;
};

}  // namespace k7310
