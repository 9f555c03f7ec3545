// The channel strip GroupBox1: the Main, High, Mid and Low rows with their buttons.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <array>

namespace k7310 {

class ChannelStrip : public QGroupBox {
 public:
  explicit ChannelStrip(QWidget* parent);

  // Row tops inside the strip, and the buttons' height.
  static constexpr int kMainRowY = 9;
  static constexpr int kHighRowY = 41;
  static constexpr int kMidRowY = 73;
  static constexpr int kLowRowY = 105;
  static constexpr int kButtonHeight = 25;

  // Main row.
  QLabel* RzLabel13;  // " Main "
  QLabel* MainIcon;
  QPushButton* RzButton4;  // "Main EQ"
  QPushButton* RzButton5;  // "Main delay"
  QPushButton* RzButton6;  // Main polarity
  QLabel* RzLabel8;        // "Volume"
  QSlider* TrackBar1;      // master volume 0..301
  QLabel* Label1;          // volume value

  // High row.
  QLabel* RzLabel1;  // " High "
  QLabel* HighIcon;
  QLabel* Image6;  // line behind the High row
  QPushButton* RzButton46;  // "Mute"
  QPushButton* RzButton45;  // "Gain"
  QPushButton* RzButton41;  // "EQ/HPF/LPF"
  QPushButton* RzButton43;  // "Limiter"
  QPushButton* RzButton44;  // "Delay"
  QPushButton* RzButton1;   // polarity
  QPushButton* RzButton11;  // "Temp set"

  // Mid row.
  QLabel* RzLabel24;  // " Mid   "
  QLabel* Image1;     // Mid row icon; shows the BTL pictures
  QLabel* Image7;     // line behind the Mid row
  QPushButton* RzButton52;
  QPushButton* RzButton51;
  QPushButton* RzButton47;
  QPushButton* RzButton49;
  QPushButton* RzButton50;
  QPushButton* RzButton2;
  QPushButton* RzButton7;  // "BTL Mode"

  // Low row.
  QLabel* RzLabel25;  // " Low "
  QLabel* LowIcon;
  QPushButton* RzButton58;
  QPushButton* RzButton57;
  QPushButton* RzButton53;
  QPushButton* RzButton55;
  QPushButton* RzButton56;
  QPushButton* RzButton3;
  QPushButton* RzButton98;  // "recoup"

  // The same buttons by ChannelIndex (0 High, 1 Mid, 2 Low, 3 Main).
  std::array<QPushButton*, 3> MuteButtons;
  std::array<QPushButton*, 3> GainButtons;
  std::array<QPushButton*, 3> LimiterButtons;
  std::array<QPushButton*, 4> EqButtons;
  std::array<QPushButton*, 4> DelayButtons;
  std::array<QPushButton*, 4> PolarityButtons;
};

}  // namespace k7310
