// The initial-data box RzGroupBox16 of a broadcast connection: copy one device's set, or a group file, to all.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace k7310 {

class InitialDataBox : public QGroupBox {
 public:
  explicit InitialDataBox(QWidget* parent);

  QLabel* RzLabel22;  // title
  QToolButton* SpeedButton3;  // ends the broadcast connection
  QLabel* RzLabel26;  // "1."
  QLabel* RzLabel23;
  QLineEdit* RzEdit3;  // source device ID
  QPushButton* Button10;  // "OK"
  QLabel* RzLabel27;  // "2."
  QPushButton* Button11;
};

}  // namespace k7310
