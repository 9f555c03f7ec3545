#include "eq/ui/eq_box.h"

#include "eq/ui/response_graph.h"

#include <QPalette>
#include <QPixmap>

#include "app/kit/button_color.h"
#include "app/kit/ui_text.h"
#include "app/kit/widget_place.h"
#include "texts/texts.h"

namespace k7310 {
namespace {

// Band table columns and rows inside RzGroupBox36.
constexpr int kFreqX = 76, kFreqW = 60, kFreqSpinX = 136;
constexpr int kQX = 160, kQW = 58, kQSpinX = 218;
constexpr int kGainX = 244, kGainW = 62, kGainSpinX = 306;
constexpr int kTypeX = 328, kTypeW = 72;
constexpr int kHeadingY = 3;
constexpr int kFirstRowY = 20, kRowStep = 23, kRowH = 21;
constexpr int kNumberX = 36, kFirstNumberY = 23;

struct BandNames {
  const char* number;
  const char* freq;
  const char* freqSpin;
  const char* q;
  const char* qSpin;
  const char* gain;
  const char* gainSpin;
  const char* type;
};
constexpr BandNames kBandNames[6] = {
    {"BandLabel1", "RzEdit94", "RzSpinButtons82", "RzEdit99", "RzSpinButtons75", "RzEdit106", "RzSpinButtons70",
     "RzComboBox66"},
    {"BandLabel2", "RzEdit95", "RzSpinButtons83", "RzEdit102", "RzSpinButtons78", "RzEdit107", "RzSpinButtons71",
     "RzComboBox67"},
    {"BandLabel3", "RzEdit96", "RzSpinButtons84", "RzEdit103", "RzSpinButtons79", "RzEdit108", "RzSpinButtons72",
     "RzComboBox72"},
    {"BandLabel4", "RzEdit97", "RzSpinButtons85", "RzEdit104", "RzSpinButtons80", "RzEdit109", "RzSpinButtons73",
     "RzComboBox73"},
    {"BandLabel5", "RzEdit98", "RzSpinButtons86", "RzEdit105", "RzSpinButtons81", "RzEdit110", "RzSpinButtons74",
     "RzComboBox74"},
    {"BandLabel6", "RzEdit111", "RzSpinButtons87", "RzEdit112", "RzSpinButtons88", "RzEdit113", "RzSpinButtons89",
     "RzComboBox75"},
};

}  // namespace

EqBox::EqBox(QWidget* parent) : QGroupBox(parent) {
  const UiTexts& t = Texts();
  setObjectName(QStringLiteral("RzGroupBox8"));
  setGeometry(7, 232, kWidth, kHeight);

  // Crossover controls, left.
  RzGroupBox35 = Place<QGroupBox>(this, "RzGroupBox35", 3, 3, 246, 186);
  RzLabel18 = PlaceLabel(RzGroupBox35, "RzLabel18", 6, 4, t.PanelTitleDesign, 150);
  RzLabel95 = PlaceLabel(RzGroupBox35, "RzLabel95", 10, 44, t.RzLabel95);
  RzEdit205 = Place<QLineEdit>(RzGroupBox35, "RzEdit205", 44, 40, 60, 21);
  RzEdit205->setText(QStringLiteral("19.7"));
  RzSpinButtons181 = new SpinButtons(RzGroupBox35, "RzSpinButtons181", 104, 40);
  RzComboBox69 = Place<QComboBox>(RzGroupBox35, "RzComboBox69", 126, 40, 110, 21);
  RzLabel96 = PlaceLabel(RzGroupBox35, "RzLabel96", 10, 104, t.RzLabel96);
  RzEdit206 = Place<QLineEdit>(RzGroupBox35, "RzEdit206", 44, 100, 60, 21);
  RzEdit206->setText(QStringLiteral("21900"));
  RzSpinButtons182 = new SpinButtons(RzGroupBox35, "RzSpinButtons182", 104, 100);
  RzComboBox71 = Place<QComboBox>(RzGroupBox35, "RzComboBox71", 126, 100, 110, 21);
  for (const std::string& type : t.CrossoverTypes) {
    RzComboBox69->addItem(Ui(type));
    RzComboBox71->addItem(Ui(type));
  }
  RzComboBox69->setCurrentIndex(0);
  RzComboBox71->setCurrentIndex(0);

  // Band table, right.
  RzGroupBox36 = Place<QGroupBox>(this, "RzGroupBox36", 252, 3, 472, 186);
  RzLabel19 = PlaceLabel(RzGroupBox36, "RzLabel19", 4, kHeadingY, t.RzLabel19, 70);
  RzLabel89 = PlaceLabel(RzGroupBox36, "RzLabel89", kFreqX, kHeadingY, t.RzLabel89);
  RzLabel90 = PlaceLabel(RzGroupBox36, "RzLabel90", kQX, kHeadingY, t.RzLabel90);
  RzLabel91 = PlaceLabel(RzGroupBox36, "RzLabel91", kGainX, kHeadingY, t.RzLabel91);
  RzLabel92 = PlaceLabel(RzGroupBox36, "RzLabel92", kTypeX, kHeadingY, t.RzLabel92);
  for (int b = 0; b < 6; ++b) {
    const BandNames& n = kBandNames[b];
    const int y = kFirstRowY + kRowStep * b;
    EqBandRow& row = Bands[b];
    row.number = PlaceLabel(RzGroupBox36, n.number, kNumberX, kFirstNumberY + kRowStep * b, t.BandNumbers[b]);
    row.number->setAutoFillBackground(true);
    QPalette pal = row.number->palette();
    pal.setColor(QPalette::Window, kBandColors[b]);
    pal.setColor(QPalette::WindowText, Qt::black);
    row.number->setPalette(pal);
    row.freq = Place<QLineEdit>(RzGroupBox36, n.freq, kFreqX, y, kFreqW, kRowH);
    row.freqSpin = new SpinButtons(RzGroupBox36, n.freqSpin, kFreqSpinX, y);
    row.q = Place<QLineEdit>(RzGroupBox36, n.q, kQX, y, kQW, kRowH);
    row.qSpin = new SpinButtons(RzGroupBox36, n.qSpin, kQSpinX, y);
    row.gain = Place<QLineEdit>(RzGroupBox36, n.gain, kGainX, y, kGainW, kRowH);
    row.gainSpin = new SpinButtons(RzGroupBox36, n.gainSpin, kGainSpinX, y);
    row.type = Place<QComboBox>(RzGroupBox36, n.type, kTypeX, y, kTypeW, kRowH);
    for (const std::string& type : t.EqTypes) row.type->addItem(Ui(type));
    row.type->setCurrentIndex(0);
  }
  RzEdit94 = Bands[0].freq, RzEdit95 = Bands[1].freq, RzEdit96 = Bands[2].freq;
  RzEdit97 = Bands[3].freq, RzEdit98 = Bands[4].freq, RzEdit111 = Bands[5].freq;
  RzSpinButtons82 = Bands[0].freqSpin, RzSpinButtons83 = Bands[1].freqSpin, RzSpinButtons84 = Bands[2].freqSpin;
  RzSpinButtons85 = Bands[3].freqSpin, RzSpinButtons86 = Bands[4].freqSpin, RzSpinButtons87 = Bands[5].freqSpin;
  RzEdit99 = Bands[0].q, RzEdit102 = Bands[1].q, RzEdit103 = Bands[2].q;
  RzEdit104 = Bands[3].q, RzEdit105 = Bands[4].q, RzEdit112 = Bands[5].q;
  RzSpinButtons75 = Bands[0].qSpin, RzSpinButtons78 = Bands[1].qSpin, RzSpinButtons79 = Bands[2].qSpin;
  RzSpinButtons80 = Bands[3].qSpin, RzSpinButtons81 = Bands[4].qSpin, RzSpinButtons88 = Bands[5].qSpin;
  RzEdit106 = Bands[0].gain, RzEdit107 = Bands[1].gain, RzEdit108 = Bands[2].gain;
  RzEdit109 = Bands[3].gain, RzEdit110 = Bands[4].gain, RzEdit113 = Bands[5].gain;
  RzSpinButtons70 = Bands[0].gainSpin, RzSpinButtons71 = Bands[1].gainSpin, RzSpinButtons72 = Bands[2].gainSpin;
  RzSpinButtons73 = Bands[3].gainSpin, RzSpinButtons74 = Bands[4].gainSpin, RzSpinButtons89 = Bands[5].gainSpin;
  RzComboBox66 = Bands[0].type, RzComboBox67 = Bands[1].type, RzComboBox72 = Bands[2].type;
  RzComboBox73 = Bands[3].type, RzComboBox74 = Bands[4].type, RzComboBox75 = Bands[5].type;

  RzButton97 = PlaceButton(RzGroupBox36, "RzButton97", 416, 70, 46, 25, t.RzButton97);
  SetButtonColor(RzButton97, kButtonGreen);
  SpeedButton22 = PlaceCloseButton(RzGroupBox36, "SpeedButton22", 447, 3);

  // The graph: its grid is painted once, at the graph's size.
  Panel2 = Place<QWidget>(this, "Panel2", 3, 191, 720, 249);
  Image5 = new ResponseGraph(Panel2);
  Image5->move(0, 0);
  Image5->DrawGraphGrid(kGraphWidth, kGraphHeight);
}

}  // namespace k7310
