#include "app/kit/spin_buttons.h"

namespace k7310 {

SpinButtons::SpinButtons(QWidget* parent, const char* name, int x, int y, int w, int h) : QWidget(parent) {
  setObjectName(QString::fromLatin1(name));
  setGeometry(x, y, w, h);
  UpRight = new QToolButton(this);
  DownLeft = new QToolButton(this);
  UpRight->setObjectName(objectName() + QStringLiteral("Up"));
  DownLeft->setObjectName(objectName() + QStringLiteral("Down"));
  UpRight->setArrowType(Qt::UpArrow);
  DownLeft->setArrowType(Qt::DownArrow);
  const int half = h / 2;
  UpRight->setGeometry(0, 0, w, half);
  DownLeft->setGeometry(0, half, w, h - half);
  for (QToolButton* b : {UpRight, DownLeft}) {
    b->setFocusPolicy(Qt::NoFocus);
  }
}

}  // namespace k7310
