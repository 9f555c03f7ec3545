#include "channel/ui/delay_panel.h"

#include "app/kit/pictures.h"
#include "app/kit/widget_place.h"
#include "texts/texts.h"

namespace k7310 {

DelayPanel::DelayPanel(QWidget* parent) : QGroupBox(parent) {
  const UiTexts& t = Texts();
  setObjectName(QStringLiteral("RzGroupBox6"));
  setGeometry(0, 0, kWidth, kHeight);
  DelayBack = Place<QLabel>(this, "DelayBack", 2, 2, kWidth - 4, kHeight - 4);
  DelayBack->setPixmap(DelayBackPicture(kWidth - 4, kHeight - 4));
  RzLabel4 = PlaceLabel(this, "RzLabel4", 6, 5, t.PanelTitleDesign, 120);
  RzEdit18 = Place<QLineEdit>(this, "RzEdit18", 34, 44, 100, 21);
  RzEdit18->setText(QStringLiteral("0.000 Ms"));
  RzLabel3 = PlaceLabel(this, "RzLabel3", 34, 84, "0.000 Mm", 100);
  RzLabel20 = PlaceLabel(this, "RzLabel20", 34, 112, "0.000 Ft", 100);
  ScrollBar1 = Place<QScrollBar>(this, "ScrollBar1", 8, 160, 151, 17);
  ScrollBar1->setOrientation(Qt::Horizontal);
  ScrollBar1->setRange(0, 412);
  ScrollBar1->setSingleStep(1);
  ScrollBar1->setPageStep(1);
  ScrollBar1->setValue(0);
  SpeedButton18 = PlaceCloseButton(this, "SpeedButton18", 148, 3);
  hide();
}

}  // namespace k7310
