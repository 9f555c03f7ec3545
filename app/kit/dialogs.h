// Message boxes, Yes/No questions and file dialogs, reached through one interface so that tests script the answers.
#pragma once

#include <QString>

class QWidget;

namespace k7310 {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A plain message box with an OK button.
  virtual void Message(const QString& text) = 0;
  // A Yes/No question with the question icon and "No" preselected; true for Yes.
  virtual bool Question(const QString& title, const QString& text) = 0;
  // Save and open dialogs; an empty result means the user cancelled.
  virtual QString SaveFileName(const QString& proposedName, const QString& filter) = 0;
  virtual QString OpenFileName(const QString& filter) = 0;
};

// The real dialogs, parented to the given window.
class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent) : parent_(parent) {}
  void Message(const QString& text) override;
  bool Question(const QString& title, const QString& text) override;
  QString SaveFileName(const QString& proposedName, const QString& filter) override;
  QString OpenFileName(const QString& filter) override;

 private:
  QWidget* parent_;
};

}  // namespace k7310
