// The progress box RzGroupBox1, shown during long transfers.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>

namespace k7310 {

class ProgressBox : public QGroupBox {
 public:
  explicit ProgressBox(QWidget* parent);

  QLabel* RzLabel46;
  QProgressBar* RzProgressBar1;
};

}  // namespace k7310
