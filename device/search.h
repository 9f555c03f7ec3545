// Bookkeeping of the device ID search: which device index answered on which port, the
// listing of the answers for the result box, and the progress of a sweep.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace k7310 {

inline constexpr int kSearchRows = 256;  // port numbers / port keys 0..255
inline constexpr int kSearchCols = 256;  // DeviceIndex 0..255 (255 is the broadcast index)

// The full search probes every device index; the start-up sweep only IDs 1..10 and lists only
// rows and columns 0..10 (clearing rows and columns 0..9 before it starts).
inline constexpr int kFullSearchLastIndex = 255;
inline constexpr int kStartupSweepLastIndex = 9;
inline constexpr int kStartupClearLast = 9;
inline constexpr int kStartupListLast = 10;
inline constexpr int kFullListLast = 255;

// Answers seen, row = port number, column = DeviceIndex; 1.0 marks an answer. Kept between
// searches: a full search clears all of it, the start-up sweep only its own corner.
class SearchHits {
 public:
  SearchHits();
  // Out-of-range cells are ignored: a port number beyond the matrix cannot be recorded.
  void Mark(int row, int col);
  double At(int row, int col) const;
  bool IsHit(int row, int col) const { return At(row, col) == 1.0; }
  void ClearAll();
  void ClearStartupArea();

 private:
  std::vector<double> cells_;  // kSearchRows * kSearchCols, row-major
};

// One answer of the listing: the line of the result memo it goes to, the port number (row) and the device ID
// (column + 1).
struct SearchEntry {
  int line = 0;
  int port = 0;
  int deviceId = 0;
};

// Lists the answers in rows 0..maxRow and columns 0..maxCol (inclusive), rows upward and within a row columns
// upward. Line 0 holds the first four entries, every further line five.
std::vector<SearchEntry> ListSearchResults(const SearchHits& hits, int maxRow, int maxCol);

// The result memo's lines: each entry reads portWord + portName(port) + deviceWord + ID + end, appended to its line
// (the words come from the edition's text table).
struct SearchWords {
  std::string port;    // "COM"
  std::string device;  // "--Device ID"
  std::string end;     // " , "
};
std::vector<std::string> SearchMemoLines(const std::vector<SearchEntry>& entries,
                                         const std::function<std::string(int port)>& portName,
                                         const SearchWords& words);

// Progress in whole percent after the probe of device index j on port i (0-based, ports in
// the order they are swept) of P ports. Both reach 100 at the last probe of the last port.
int FullSearchProgress(int i, int j, int P);
int StartupSweepProgress(int i, int j, int P);

}  // namespace k7310
