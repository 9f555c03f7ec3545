#include "app/kit/history_list.h"

namespace k7310 {

HistoryList::HistoryList(QWidget* parent) : QListWidget(parent) {
  // Courier New, or the face with its metrics.
  QFont courier(QStringLiteral("Courier New"));
  courier.setStyleHint(QFont::Monospace);
  courier.setPixelSize(13);
  setFont(courier);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void HistoryList::AddToHistory(const QString& text) {
  if (count() >= kHistoryLines) delete takeItem(0);
  auto* item = new QListWidgetItem(text, this);
  const int width = fontMetrics().horizontalAdvance(text) + 16;
  if (width > scrollWidth_) scrollWidth_ = width;
  // The view scrolls as wide as its widest item.
  item->setSizeHint(QSize(scrollWidth_, fontMetrics().height()));
  setCurrentItem(item);
}

}  // namespace k7310
