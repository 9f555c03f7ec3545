#include "app/kit/widget_place.h"

#include "app/kit/button_color.h"
#include "app/kit/ui_text.h"

namespace k7310 {

QLabel* PlaceLabel(QWidget* parent, const char* name, int x, int y, const std::string& text, int w, int h) {
  auto* label = new QLabel(Ui(text), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->move(x, y);
  if (w == 0 || h == 0) {
    label->adjustSize();
    if (w == 0) w = label->width();
    if (h == 0) h = label->height();
  }
  label->resize(w, h);
  return label;
}

QPushButton* PlaceButton(QWidget* parent, const char* name, int x, int y, int w, int h, const std::string& text) {
  auto* button = Place<QPushButton>(parent, name, x, y, w, h);
  button->setText(Ui(text));
  SetButtonColor(button, kButtonNormal);
  return button;
}

QToolButton* PlaceCloseButton(QWidget* parent, const char* name, int x, int y) {
  auto* button = Place<QToolButton>(parent, name, x, y, 16, 16);
  button->setText(QString::fromUtf8("\xC3\x97"));  // a multiplication sign as the close glyph
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

}  // namespace k7310
