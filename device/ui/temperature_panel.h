// The temperature panel RzGroupBox13: the over-temperature threshold.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>

namespace k7310 {

class TemperaturePanel : public QGroupBox {
 public:
  explicit TemperaturePanel(QWidget* parent);

  QLabel* RzLabel33;        // title
  QLabel* RzLabel34;        // caption of the list
  QComboBox* RzComboBox9;   // 31 thresholds, item = TempThreshold
  QToolButton* SpeedButton4;
};

}  // namespace k7310
