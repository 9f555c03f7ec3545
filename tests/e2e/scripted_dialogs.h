// A Dialogs double for window tests: the test queues the dialogs it expects, in order, with the answers to give.
// A dialog that was not expected, or that differs from the expected one, fails the test; Verify() fails the test
// when expected dialogs never came.
#pragma once

#include <gtest/gtest.h>

#include <QString>

#include <deque>
#include <vector>

#include "app/kit/dialogs.h"
#include "tests/qt_print.h"

namespace k7310::test {

class ScriptedDialogs : public Dialogs {
 public:
  enum class Kind { kMessage, kQuestion, kSave, kOpen };

  struct Expected {
    Kind kind;
    QString text;    // message or question text; proposed name for kSave; empty for kOpen
    QString title;   // question title
    QString filter;  // file dialogs
    bool yes = false;     // question answer
    QString fileName;     // file dialog answer; empty = cancel
  };

  void ExpectMessage(const QString& text) { queue_.push_back({Kind::kMessage, text, {}, {}, false, {}}); }
  void ExpectQuestion(const QString& title, const QString& text, bool yes) {
    queue_.push_back({Kind::kQuestion, text, title, {}, yes, {}});
  }
  void ExpectSave(const QString& proposed, const QString& filter, const QString& answer) {
    queue_.push_back({Kind::kSave, proposed, {}, filter, false, answer});
  }
  void ExpectOpen(const QString& filter, const QString& answer) {
    queue_.push_back({Kind::kOpen, {}, {}, filter, false, answer});
  }

  // Every dialog shown, in order, as "kind: text".
  const std::vector<QString>& Shown() const { return shown_; }
  bool Pending() const { return !queue_.empty(); }
  void Verify() {
    for (const Expected& e : queue_) ADD_FAILURE() << "expected dialog never shown: " << e.text.toStdString();
    queue_.clear();
  }

  void Message(const QString& text) override {
    shown_.push_back(QStringLiteral("message: ") + text);
    if (const Expected* e = Take(Kind::kMessage, text)) {
      EXPECT_EQ(e->text.toStdString(), text.toStdString());
    }
  }
  bool Question(const QString& title, const QString& text) override {
    shown_.push_back(QStringLiteral("question: ") + text);
    const Expected* e = Take(Kind::kQuestion, text);
    if (!e) return false;
    EXPECT_EQ(e->title.toStdString(), title.toStdString());
    EXPECT_EQ(e->text.toStdString(), text.toStdString());
    return e->yes;
  }
  QString SaveFileName(const QString& proposedName, const QString& filter) override {
    shown_.push_back(QStringLiteral("save: ") + proposedName);
    const Expected* e = Take(Kind::kSave, proposedName);
    if (!e) return {};
    EXPECT_EQ(e->text.toStdString(), proposedName.toStdString());
    EXPECT_EQ(e->filter.toStdString(), filter.toStdString());
    return e->fileName;
  }
  QString OpenFileName(const QString& filter) override {
    shown_.push_back(QStringLiteral("open: ") + filter);
    const Expected* e = Take(Kind::kOpen, filter);
    if (!e) return {};
    EXPECT_EQ(e->filter.toStdString(), filter.toStdString());
    return e->fileName;
  }

 private:
  // Pops the next expectation; fails and returns null when none is queued or it is of another kind.
  const Expected* Take(Kind kind, const QString& what) {
    if (queue_.empty()) {
      ADD_FAILURE() << "unexpected dialog: " << what.toStdString();
      return nullptr;
    }
    current_ = queue_.front();
    queue_.pop_front();
    if (current_.kind != kind) {
      ADD_FAILURE() << "dialog of another kind than expected: " << what.toStdString() << " (expected "
                    << current_.text.toStdString() << ")";
      return nullptr;
    }
    return &current_;
  }

  std::deque<Expected> queue_;
  Expected current_{};
  std::vector<QString> shown_;
};

}  // namespace k7310::test
