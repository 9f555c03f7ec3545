// The device search boxes: the progress box RzGroupBox3 and the result box RzGroupBox2.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

namespace k7310 {

class SearchProgressBox : public QGroupBox {
 public:
  explicit SearchProgressBox(QWidget* parent);

  QLabel* RzLabel9;  // "Checking available device ID ..."
  QProgressBar* RzProgressBar2;
  QPushButton* Button2;  // "Cancel"
};

class SearchResultBox : public QGroupBox {
 public:
  explicit SearchResultBox(QWidget* parent);

  QLabel* RzLabel6;        // "search result:none     "
  QPlainTextEdit* Memo1;   // the result list
  QToolButton* SpeedButton1;
};

}  // namespace k7310
