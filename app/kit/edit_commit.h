// The commit behaviour shared by the numeric and text edits of the window. An edit commits when the user presses
// Enter or leaves it, and only when its text differs from the text it held when it got the focus (or after its last
// Enter): leaving or confirming an unchanged edit sends nothing.
#pragma once

#include <QLineEdit>
#include <QObject>
#include <QString>

#include <functional>

namespace k7310 {

// The snapshot by which edits commit only changed text. One for the whole window, shared by every edit: armed at
// start and by every leave; the next edit to get the focus records its text and disarms it. It must live as long as
// the edits that use it (keep it beside the window).
struct EditSnapshot {
  bool EditSnapshotArmed = true;
  QString EditTextOnEntry;
};

// The characters an edit accepts besides the digits, Backspace and Enter.
enum EditAccepts : unsigned {
  kDigitsOnly = 0,
  kAcceptPoint = 1u << 0,  // "."
  kAcceptMinus = 1u << 1,  // "-"
  kAcceptAnyText = 1u << 2,  // every printable character (names)
};

// Attached to one QLineEdit (as its child): filters its keys, takes the snapshot on focus-in, and runs the commit
// callback on Enter (which it swallows) and on focus-out when the text changed.
class EditCommit : public QObject {
 public:
  // Receives the edit's text; the callback decides what it means and may rewrite the edit.
  using CommitFn = std::function<void(const QString& text)>;

  EditCommit(QLineEdit* edit, EditSnapshot& snapshot, unsigned accepts, CommitFn commit);

  // A numeric edit: text that is not a number is put back to the snapshot and commits nothing; a number reaches
  // the callback as a double.
  static EditCommit* Number(QLineEdit* edit, EditSnapshot& snapshot, unsigned accepts,
                            std::function<void(double)> commit);

  // The handlers, also reached through the edit's events.
  void Enter();                  // the edit got the focus
  void Exit();                   // the edit lost the focus
  bool KeyPress(QChar key);      // a character was typed; false when it is discarded (or swallowed, for Enter)
  void Commit();                 // commits the edit's text if it differs from the snapshot

  // Called on every focus-in, after the snapshot; `recorded` tells whether this entry took the snapshot.
  std::function<void(bool recorded)> entered;

  QLineEdit* Edit() const { return edit_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* edit_;
  EditSnapshot& snapshot_;
  unsigned accepts_;
  CommitFn commit_;
};

}  // namespace k7310
