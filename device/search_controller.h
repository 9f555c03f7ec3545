// The device ID search over the serial ports: the short sweep at start-up and the full search on demand. It opens
// every listed port in turn, asks one device index after the other for its status and notes every answer.
#pragma once

#include "device/search.h"

namespace k7310 {

class DeviceApp;

class SearchController {
 public:
  explicit SearchController(DeviceApp& app);

  void Timer124Timer();  // start-up sweep, IDs 1..10
  void ID1Click();       // full search, device indices 0..255
  void Button2Click();   // cancel
  void N14Click();       // show the result box
  // The receive parser saw a status reply while a sweep runs.
  void Credit();

  SearchHits hits;
  int SearchCancel = 0;
  int ProbedIndex = 0;

 private:
  struct Sweep {
    int lastIndex;
    int waitMs;
    bool stopOnError;
    int (*progress)(int i, int j, int ports);
  };
  // Probes every port of the list; false when an error ended the sweep early.
  void Run(const Sweep& sweep);
  void ListResults(int lastRowCol);
  // A USB device is in use: there is nothing to search on the serial ports; the regions show at once.
  void ShowWithoutSearch(bool withStrip);
  bool Cancelled() const;

  DeviceApp& app_;
};

}  // namespace k7310
