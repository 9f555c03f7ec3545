#include "app/kit/edit_commit.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>

#include <optional>
#include <utility>

#include "eq/number_text.h"

namespace k7310 {
namespace {

bool Passing(Qt::FocusReason reason) {
  return reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
}

}  // namespace

EditCommit::EditCommit(QLineEdit* edit, EditSnapshot& snapshot, unsigned accepts, CommitFn commit)
    : QObject(edit), edit_(edit), snapshot_(snapshot), accepts_(accepts), commit_(std::move(commit)) {
  edit_->installEventFilter(this);
}

EditCommit* EditCommit::Number(QLineEdit* edit, EditSnapshot& snapshot, unsigned accepts,
                               std::function<void(double)> commit) {
  EditSnapshot* shared = &snapshot;
  return new EditCommit(edit, snapshot, accepts, [edit, shared, commit = std::move(commit)](const QString& text) {
    const std::optional<double> v = ParseNumberText(text.toStdString());
    if (!v) {
      edit->setText(shared->EditTextOnEntry);
      return;
    }
    commit(*v);
  });
}

void EditCommit::Enter() {
  const bool recorded = snapshot_.EditSnapshotArmed;
  if (recorded) {
    snapshot_.EditTextOnEntry = edit_->text();
    snapshot_.EditSnapshotArmed = false;
  }
  if (entered) entered(recorded);
}

void EditCommit::Exit() {
  snapshot_.EditSnapshotArmed = true;
  Commit();
}

void EditCommit::Commit() {
  const QString text = edit_->text();
  if (text == snapshot_.EditTextOnEntry) return;
  commit_(text);
}

bool EditCommit::KeyPress(QChar key) {
  if (key == QLatin1Char('\r') || key == QLatin1Char('\n')) {
    Commit();
    snapshot_.EditTextOnEntry = edit_->text();
    return false;
  }
  if (key == QLatin1Char('\b') || (key >= u'0' && key <= u'9')) return true;
  if ((accepts_ & kAcceptAnyText) != 0) return key.isPrint();
  if (key == QLatin1Char('.')) return (accepts_ & kAcceptPoint) != 0;
  if (key == QLatin1Char('-')) return (accepts_ & kAcceptMinus) != 0;
  return false;
}

bool EditCommit::eventFilter(QObject* watched, QEvent* event) {
  if (watched != edit_) return false;
  switch (event->type()) {
    // A context menu or another window taking the focus is no leaving of the edit: the user comes back to it.
    case QEvent::FocusIn:
      if (!Passing(static_cast<QFocusEvent*>(event)->reason())) Enter();
      break;
    case QEvent::FocusOut:
      if (!Passing(static_cast<QFocusEvent*>(event)->reason())) Exit();
      break;
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) return !KeyPress(QLatin1Char('\r'));
      // Keys that type no character (arrows, Delete, Tab, the edit shortcuts) keep their usual meaning.
      const QString text = key->text();
      if (text.size() != 1 || !text[0].isPrint()) return false;
      return !KeyPress(text[0]);
    }
    default:
      break;
  }
  return false;
}

}  // namespace k7310
