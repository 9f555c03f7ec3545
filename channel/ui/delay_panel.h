// The delay panel RzGroupBox6, opened beside a "Delay" button.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QToolButton>

namespace k7310 {

class DelayPanel : public QGroupBox {
 public:
  explicit DelayPanel(QWidget* parent);

  static constexpr int kWidth = 167;
  static constexpr int kHeight = 221;

  QLabel* DelayBack;     // background picture
  QLabel* RzLabel4;      // "High--Delay" ...
  QLineEdit* RzEdit18;   // "0.000 Ms"
  QLabel* RzLabel3;      // "0.000 Mm"
  QLabel* RzLabel20;     // "0.000 Ft"
  QScrollBar* ScrollBar1;  // 0..412 steps
  QToolButton* SpeedButton18;
};

}  // namespace k7310
