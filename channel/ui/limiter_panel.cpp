#include "channel/ui/limiter_panel.h"

#include <QFont>

#include "app/kit/ui_text.h"
#include "app/kit/widget_place.h"
#include "texts/texts.h"

namespace k7310 {
namespace {

QLabel* Caption(QWidget* parent, const char* name, int y, const std::string& text) {
  QLabel* label = PlaceLabel(parent, name, 20, y, text);
  QFont f = label->font();
  f.setUnderline(true);
  label->setFont(f);
  label->adjustSize();
  return label;
}

template <std::size_t N>
QComboBox* List(QWidget* parent, const char* name, int y, const std::array<std::string, N>& items) {
  auto* box = Place<QComboBox>(parent, name, 20, y, 124, 21);
  for (const std::string& item : items) box->addItem(Ui(item));
  box->setCurrentIndex(0);
  return box;
}

}  // namespace

LimiterPanel::LimiterPanel(QWidget* parent) : QGroupBox(parent) {
  const UiTexts& t = Texts();
  setObjectName(QStringLiteral("RzGroupBox7"));
  setGeometry(0, 0, kWidth, kHeight);
  RzLabel5 = PlaceLabel(this, "RzLabel5", 6, 5, t.PanelTitleDesign, 120);
  RzLabel15 = Caption(this, "RzLabel15", 30, t.RzLabel15);
  RzComboBox2 = List(this, "RzComboBox2", 47, t.Thresholds);
  RzLabel16 = Caption(this, "RzLabel16", 80, t.RzLabel16);
  RzComboBox3 = List(this, "RzComboBox3", 97, t.Attacks);
  RzLabel21 = Caption(this, "RzLabel21", 130, t.RzLabel21);
  RzComboBox5 = List(this, "RzComboBox5", 147, t.Releases);
  RzLabel17 = Caption(this, "RzLabel17", 176, t.RzLabel17);
  RzComboBox4 = List(this, "RzComboBox4", 190, t.Ratios);
  RzLabel17->hide();
  RzComboBox4->hide();
  SpeedButton21 = PlaceCloseButton(this, "SpeedButton21", 147, 3);
  hide();
}

}  // namespace k7310
