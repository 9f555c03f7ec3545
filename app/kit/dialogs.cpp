#include "app/kit/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace k7310 {

void QtDialogs::Message(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok, parent_);
  box.exec();
}

bool QtDialogs::Question(const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent_);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

QString QtDialogs::SaveFileName(const QString& proposedName, const QString& filter) {
  return QFileDialog::getSaveFileName(parent_, QString(), proposedName, filter);
}

QString QtDialogs::OpenFileName(const QString& filter) {
  return QFileDialog::getOpenFileName(parent_, QString(), QString(), filter);
}

}  // namespace k7310
