// Creates a control under its designer name at an absolute place in its parent.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QToolButton>
#include <QWidget>

#include <string>

namespace k7310 {

template <class W>
W* Place(QWidget* parent, const char* name, int x, int y, int w, int h) {
  auto* widget = new W(parent);
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(x, y, w, h);
  return widget;
}

// A label; with width 0 it takes the width of its text, as an auto-sized label does.
QLabel* PlaceLabel(QWidget* parent, const char* name, int x, int y, const std::string& text, int w = 0, int h = 0);
// A button in the normal face colour.
QPushButton* PlaceButton(QWidget* parent, const char* name, int x, int y, int w, int h, const std::string& text);
// The small close button in a panel's corner.
QToolButton* PlaceCloseButton(QWidget* parent, const char* name, int x, int y);

}  // namespace k7310
