#include "channel/ui/channel_strip.h"

#include <QFont>

#include "app/kit/pictures.h"
#include "app/kit/ui_text.h"
#include "app/kit/widget_place.h"
#include "texts/texts.h"

namespace k7310 {
namespace {

// Columns of the output rows: Mute, Gain, EQ/HPF/LPF, Limiter, Delay, polarity, last button.
constexpr int kMuteX = 112, kMuteW = 44;
constexpr int kGainX = 160, kGainW = 64;
constexpr int kEqX = 228, kEqW = 117;
constexpr int kLimiterX = 349, kLimiterW = 60;
constexpr int kDelayX = 413, kDelayW = 52;
constexpr int kPolarityX = 469, kPolarityW = 45;
constexpr int kLastX = 520, kLastW = 74;
// Icons are square, as their 41 x 41 pictures are, and as tall as a row allows.
constexpr int kIconX = 72, kIconW = 28, kIconH = 28;
constexpr int kH = ChannelStrip::kButtonHeight;

QLabel* NameLabel(QWidget* parent, const char* name, int y, const std::string& text) {
  QLabel* label = PlaceLabel(parent, name, 8, y + 5, text);
  QFont f = label->font();
  f.setBold(true);
  label->setFont(f);
  label->adjustSize();
  return label;
}

QLabel* Icon(QWidget* parent, const char* name, int y) {
  auto* icon = Place<QLabel>(parent, name, kIconX, y - 2, kIconW, kIconH);
  icon->setScaledContents(true);
  icon->setPixmap(ChannelIconPicture());
  return icon;
}

QLabel* RowLine(QWidget* parent, const char* name, int y) {
  constexpr int kX = kIconX + kIconW, kW = 596 - kIconX - kIconW;
  auto* line = Place<QLabel>(parent, name, kX, y + kH / 2 - 1, kW, 3);
  line->setPixmap(RowLinePicture(kW, 3));
  return line;
}

}  // namespace

ChannelStrip::ChannelStrip(QWidget* parent) : QGroupBox(parent) {
  const UiTexts& t = Texts();
  setObjectName(QStringLiteral("GroupBox1"));
  setGeometry(7, 98, 600, 132);

  // The lines go first so that the buttons of their rows stand in front of them.
  Image6 = RowLine(this, "Image6", kHighRowY);
  Image7 = RowLine(this, "Image7", kMidRowY);

  RzLabel13 = NameLabel(this, "RzLabel13", kMainRowY, t.RzLabel13);
  MainIcon = Icon(this, "MainIcon", kMainRowY);
  RzButton4 = PlaceButton(this, "RzButton4", 112, kMainRowY, 73, kH, t.RzButton4);
  RzButton5 = PlaceButton(this, "RzButton5", 189, kMainRowY, 84, kH, t.RzButton5);
  RzButton6 = PlaceButton(this, "RzButton6", 277, kMainRowY, 40, kH, t.PolarityPlus);
  RzLabel8 = PlaceLabel(this, "RzLabel8", 334, kMainRowY + 5, t.RzLabel8);
  TrackBar1 = Place<QSlider>(this, "TrackBar1", 388, kMainRowY, 152, kH);
  TrackBar1->setOrientation(Qt::Horizontal);
  TrackBar1->setRange(0, 301);
  TrackBar1->setPageStep(1);
  TrackBar1->setSingleStep(1);
  TrackBar1->setTickPosition(QSlider::NoTicks);
  TrackBar1->setValue(0);
  Label1 = PlaceLabel(this, "Label1", 544, kMainRowY + 5, t.Label1, 54);

  struct Row {
    QLabel** name;
    const char* nameId;
    const std::string* nameText;
    QLabel** icon;
    const char* iconId;
    int y;
    QPushButton** mute;
    const char* muteId;
    QPushButton** gain;
    const char* gainId;
    QPushButton** eq;
    const char* eqId;
    QPushButton** limiter;
    const char* limiterId;
    QPushButton** delay;
    const char* delayId;
    QPushButton** polarity;
    const char* polarityId;
    QPushButton** last;
    const char* lastId;
    const std::string* lastText;
  };
  const Row rows[] = {
      {&RzLabel1, "RzLabel1", &t.RzLabel1, &HighIcon, "HighIcon", kHighRowY, &RzButton46, "RzButton46", &RzButton45,
       "RzButton45", &RzButton41, "RzButton41", &RzButton43, "RzButton43", &RzButton44, "RzButton44", &RzButton1,
       "RzButton1", &RzButton11, "RzButton11", &t.RzButton11},
      {&RzLabel24, "RzLabel24", &t.RzLabel24, &Image1, "Image1", kMidRowY, &RzButton52, "RzButton52", &RzButton51,
       "RzButton51", &RzButton47, "RzButton47", &RzButton49, "RzButton49", &RzButton50, "RzButton50", &RzButton2,
       "RzButton2", &RzButton7, "RzButton7", &t.RzButton7},
      {&RzLabel25, "RzLabel25", &t.RzLabel25, &LowIcon, "LowIcon", kLowRowY, &RzButton58, "RzButton58", &RzButton57,
       "RzButton57", &RzButton53, "RzButton53", &RzButton55, "RzButton55", &RzButton56, "RzButton56", &RzButton3,
       "RzButton3", &RzButton98, "RzButton98", &t.RzButton98},
  };
  for (const Row& r : rows) {
    *r.name = NameLabel(this, r.nameId, r.y, *r.nameText);
    *r.icon = Icon(this, r.iconId, r.y);
    *r.mute = PlaceButton(this, r.muteId, kMuteX, r.y, kMuteW, kH, t.MuteButton);
    *r.gain = PlaceButton(this, r.gainId, kGainX, r.y, kGainW, kH, t.GainButton);
    *r.eq = PlaceButton(this, r.eqId, kEqX, r.y, kEqW, kH, t.EqButton);
    *r.limiter = PlaceButton(this, r.limiterId, kLimiterX, r.y, kLimiterW, kH, t.LimiterButton);
    *r.delay = PlaceButton(this, r.delayId, kDelayX, r.y, kDelayW, kH, t.DelayButton);
    *r.polarity = PlaceButton(this, r.polarityId, kPolarityX, r.y, kPolarityW, kH, t.PolarityPlus);
    *r.last = PlaceButton(this, r.lastId, kLastX, r.y, kLastW, kH, *r.lastText);
  }
  Image1->setPixmap(BtlNormalPicture());
  RzButton7->setToolTip(Ui(t.RzButton7Hint));

  MuteButtons = {RzButton46, RzButton52, RzButton58};
  GainButtons = {RzButton45, RzButton51, RzButton57};
  LimiterButtons = {RzButton43, RzButton49, RzButton55};
  EqButtons = {RzButton41, RzButton47, RzButton53, RzButton4};
  DelayButtons = {RzButton44, RzButton50, RzButton56, RzButton5};
  PolarityButtons = {RzButton1, RzButton2, RzButton3, RzButton6};
}

}  // namespace k7310
