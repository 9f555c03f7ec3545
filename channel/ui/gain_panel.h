// The gain panel RzGroupBox5 with its fader, opened beside a "Gain" button.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "app/kit/spin_buttons.h"

namespace k7310 {

class GainPanel : public QGroupBox {
 public:
  explicit GainPanel(QWidget* parent);

  static constexpr int kWidth = 165;
  static constexpr int kHeight = 254;

  QLabel* Image2;       // the fader, 163 x 250
  QLabel* RzLabel2;     // "High--Gain" ...
  QLineEdit* RzEdit17;  // "-12.0 dB"
  SpinButtons* SpinButton1;
  QToolButton* SpeedButton17;
};

}  // namespace k7310
