// A pair of small step buttons beside an edit: up (or right) above, down (or left) below.
#pragma once

#include <QToolButton>
#include <QWidget>

namespace k7310 {

class SpinButtons : public QWidget {
 public:
  SpinButtons(QWidget* parent, const char* name, int x, int y, int w = 16, int h = 21);

  QToolButton* UpRight;
  QToolButton* DownLeft;
};

}  // namespace k7310
