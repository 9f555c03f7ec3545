// What a user does to the window, as events sent to its widgets: mouse presses and moves, focus, typing, Enter,
// picks from a list.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace k7310::test {

// A left-button press, move (with the button held) or release at a point of the widget.
inline void Mouse(QWidget* w, QEvent::Type type, QPoint at) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::LeftButton, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

inline void Focus(QLineEdit* e) {
  QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
  QApplication::sendEvent(e, &in);
}
inline void Leave(QLineEdit* e) {
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(e, &out);
}
inline void PressEnter(QLineEdit* e) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  QApplication::sendEvent(e, &press);
}
// Selects the whole text and types over it, key by key, through the edit's key filter.
inline void TypeOver(QLineEdit* e, const QString& text) {
  e->selectAll();
  for (QChar ch : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(e, &press);
  }
}
// Click into the edit, type over its text, press Enter.
inline void TypeAndEnter(QLineEdit* e, const QString& text) {
  Focus(e);
  TypeOver(e, text);
  PressEnter(e);
}
// Click into the edit, type over its text, leave it.
inline void TypeAndLeave(QLineEdit* e, const QString& text) {
  Focus(e);
  TypeOver(e, text);
  Leave(e);
}
// The user's pick from a drop-down list.
inline void Choose(QComboBox* combo, int item) {
  combo->setCurrentIndex(item);
  emit combo->activated(item);
}

}  // namespace k7310::test
