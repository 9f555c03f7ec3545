// A list of log lines in a fixed-width font.
#pragma once

#include <QListWidget>

namespace k7310 {

// The history list: every line appended is selected, and the horizontal scroll range grows to the widest line
// plus 16 pixels. It keeps the latest kHistoryLines lines (a poll writes a line twice a second).
class HistoryList : public QListWidget {
 public:
  static constexpr int kHistoryLines = 2000;
  explicit HistoryList(QWidget* parent);
  void AddToHistory(const QString& text);
  int ScrollWidth() const { return scrollWidth_; }

 private:
  int scrollWidth_ = 0;
};

}  // namespace k7310
