// The EQ box RzGroupBox8: crossover controls (RzGroupBox35), the band table (RzGroupBox36) and the response graph
// (Image5 on Panel2). One box serves all four channels.
#pragma once

#include <QColor>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <array>

#include "app/kit/spin_buttons.h"

namespace k7310 {

// One row of the band table; b = 0..5.
struct EqBandRow {
  QLabel* number;
  QLineEdit* freq;
  SpinButtons* freqSpin;
  QLineEdit* q;
  SpinButtons* qSpin;
  QLineEdit* gain;
  SpinButtons* gainSpin;
  QComboBox* type;
};

class ResponseGraph;

class EqBox : public QGroupBox {
 public:
  explicit EqBox(QWidget* parent);

  static constexpr int kGraphWidth = 720;
  static constexpr int kGraphHeight = 249;
  static constexpr int kWidth = 727;
  static constexpr int kHeight = 445;

  // Crossover controls.
  QGroupBox* RzGroupBox35;
  QLabel* RzLabel18;  // "High--H/LPF" ...
  QLabel* RzLabel95;  // "HPF"
  QLineEdit* RzEdit205;
  SpinButtons* RzSpinButtons181;
  QComboBox* RzComboBox69;
  QLabel* RzLabel96;  // "LPF"
  QLineEdit* RzEdit206;
  SpinButtons* RzSpinButtons182;
  QComboBox* RzComboBox71;

  // Band table.
  QGroupBox* RzGroupBox36;
  QLabel* RzLabel19;  // "High--EQ" ...
  QLabel* RzLabel89;
  QLabel* RzLabel90;
  QLabel* RzLabel91;
  QLabel* RzLabel92;
  QLineEdit *RzEdit94, *RzEdit95, *RzEdit96, *RzEdit97, *RzEdit98, *RzEdit111;                 // frequency
  SpinButtons *RzSpinButtons82, *RzSpinButtons83, *RzSpinButtons84, *RzSpinButtons85, *RzSpinButtons86,
      *RzSpinButtons87;
  QLineEdit *RzEdit99, *RzEdit102, *RzEdit103, *RzEdit104, *RzEdit105, *RzEdit112;             // Q
  SpinButtons *RzSpinButtons75, *RzSpinButtons78, *RzSpinButtons79, *RzSpinButtons80, *RzSpinButtons81,
      *RzSpinButtons88;
  QLineEdit *RzEdit106, *RzEdit107, *RzEdit108, *RzEdit109, *RzEdit110, *RzEdit113;            // gain
  SpinButtons *RzSpinButtons70, *RzSpinButtons71, *RzSpinButtons72, *RzSpinButtons73, *RzSpinButtons74,
      *RzSpinButtons89;
  QComboBox *RzComboBox66, *RzComboBox67, *RzComboBox72, *RzComboBox73, *RzComboBox74, *RzComboBox75;  // type
  std::array<EqBandRow, 6> Bands;
  QPushButton* RzButton97;     // "0 dB"
  QToolButton* SpeedButton22;  // close

  // Graph.
  QWidget* Panel2;
  ResponseGraph* Image5;  // 720 x 249
  // The fill the marker painter restores after drawing the band numbers.
  QColor MarkerLabelFill{96, 96, 96};
};

// Band colours 1..6, shared by the row labels and the graph markers.
inline const std::array<QColor, 6> kBandColors = {QColor(255, 252, 0), QColor(255, 0, 0),   QColor(0, 252, 255),
                                                  QColor(0, 252, 0),   QColor(255, 0, 255), QColor(0, 0, 255)};

}  // namespace k7310
