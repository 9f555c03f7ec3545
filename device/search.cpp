#include "device/search.h"

#include <algorithm>

namespace k7310 {

namespace {

bool InMatrix(int row, int col) {
  return row >= 0 && row < kSearchRows && col >= 0 && col < kSearchCols;
}

std::size_t Cell(int row, int col) {
  return static_cast<std::size_t>(row) * kSearchCols + static_cast<std::size_t>(col);
}

// Trunc(a / b) for the progress bar; P = 0 means nothing is swept, so nothing is done yet.
int Percent(long long numerator, long long denominator) {
  return denominator <= 0 ? 0 : static_cast<int>(numerator / denominator);
}

}  // namespace

SearchHits::SearchHits() : cells_(static_cast<std::size_t>(kSearchRows) * kSearchCols, 0.0) {}

void SearchHits::Mark(int row, int col) {
  if (InMatrix(row, col)) cells_[Cell(row, col)] = 1.0;
}

double SearchHits::At(int row, int col) const {
  return InMatrix(row, col) ? cells_[Cell(row, col)] : 0.0;
}

void SearchHits::ClearAll() { std::fill(cells_.begin(), cells_.end(), 0.0); }

void SearchHits::ClearStartupArea() {
  for (int row = 0; row <= kStartupClearLast; ++row) {
    for (int col = 0; col <= kStartupClearLast; ++col) cells_[Cell(row, col)] = 0.0;
  }
}

std::vector<SearchEntry> ListSearchResults(const SearchHits& hits, int maxRow, int maxCol) {
  std::vector<SearchEntry> out;
  const int lastRow = std::min(maxRow, kSearchRows - 1);
  const int lastCol = std::min(maxCol, kSearchCols - 1);
  for (int row = 0; row <= lastRow; ++row) {
    for (int col = 0; col <= lastCol; ++col) {
      if (!hits.IsHit(row, col)) continue;
      const int n = static_cast<int>(out.size()) + 1;
      // Entry n goes to line n / 5, so line 0 takes entries 1..4 and the others five each.
      out.push_back({n / 5, row, col + 1});
    }
  }
  return out;
}

std::vector<std::string> SearchMemoLines(const std::vector<SearchEntry>& entries,
                                         const std::function<std::string(int port)>& portName,
                                         const SearchWords& words) {
  std::vector<std::string> lines;
  for (const SearchEntry& e : entries) {
    if (static_cast<std::size_t>(e.line) >= lines.size()) lines.resize(static_cast<std::size_t>(e.line) + 1);
    lines[static_cast<std::size_t>(e.line)] +=
        words.port + portName(e.port) + words.device + std::to_string(e.deviceId) + words.end;
  }
  return lines;
}

int FullSearchProgress(int i, int j, int P) {
  return Percent(j * 100LL + i * 25600LL + 100, P * 256LL);
}

int StartupSweepProgress(int i, int j, int P) {
  return Percent(j * 100LL + i * 1000LL + 100, P * 10LL);
}

}  // namespace k7310
