// The limiter panel RzGroupBox7, opened beside a "Limiter" button.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>

namespace k7310 {

class LimiterPanel : public QGroupBox {
 public:
  explicit LimiterPanel(QWidget* parent);

  static constexpr int kWidth = 166;
  static constexpr int kHeight = 216;

  QLabel* RzLabel5;   // "High--Limiter" ...
  QLabel* RzLabel15;  // "Threshold"
  QComboBox* RzComboBox2;
  QLabel* RzLabel16;  // "Attack"
  QComboBox* RzComboBox3;
  QLabel* RzLabel21;  // "Release"
  QComboBox* RzComboBox5;
  QLabel* RzLabel17;  // "Ration", hidden
  QComboBox* RzComboBox4;  // hidden, no function
  QToolButton* SpeedButton21;
};

}  // namespace k7310
