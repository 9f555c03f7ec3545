// The BTL box rzgrpbx_btl: the four mode buttons and the close button btn1.
#pragma once

#include <QGroupBox>
#include <QPushButton>
#include <QToolButton>

#include <array>

namespace k7310 {

class BtlBox : public QGroupBox {
 public:
  explicit BtlBox(QWidget* parent);

  QPushButton* btn_btl0;  // "No BTL"
  QPushButton* btn_btl1;  // "Low-Mid BTL"
  QPushButton* btn_btl2;  // "High-Mid BTL"
  QPushButton* btn_btl3;  // "High-Mid BTL-One Ch Mode"
  QToolButton* btn1;      // close
  std::array<QPushButton*, 4> ModeButtons;  // by BtlMode
};

}  // namespace k7310
