// The "BTL Mode" window: the picture of the bridged wiring.
#pragma once

#include <QDialog>
#include <QLabel>

namespace k7310 {

class TForm4 : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kWidth = 722;
  static constexpr int kHeight = 158;

  explicit TForm4(QWidget* parent = nullptr);

  QLabel* WiringImage;  // 713 x 157
};

}  // namespace k7310
