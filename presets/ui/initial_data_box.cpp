#include "presets/ui/initial_data_box.h"

#include "app/kit/ui_text.h"
#include "app/kit/widget_place.h"
#include "texts/texts.h"

namespace k7310 {

InitialDataBox::InitialDataBox(QWidget* parent) : QGroupBox(parent) {
  const UiTexts& t = Texts();
  setObjectName(QStringLiteral("RzGroupBox16"));
  setGeometry(208, 232, 340, 140);
  RzLabel22 = PlaceLabel(this, "RzLabel22", 8, 6, t.RzLabel22, 300);
  SpeedButton3 = PlaceCloseButton(this, "SpeedButton3", 320, 4);
  RzLabel26 = PlaceLabel(this, "RzLabel26", 12, 34, t.RzLabel26);
  RzLabel23 = PlaceLabel(this, "RzLabel23", 28, 34, t.RzLabel23, 300);
  RzEdit3 = Place<QLineEdit>(this, "RzEdit3", 28, 56, 60, 21);
  RzEdit3->setText(Ui(t.RzEdit3));
  Button10 = PlaceButton(this, "Button10", 96, 55, 60, 24, t.Button10);
  RzLabel27 = PlaceLabel(this, "RzLabel27", 12, 98, t.RzLabel27);
  Button11 = PlaceButton(this, "Button11", 28, 94, 300, 25, t.Button11);
  hide();
}

}  // namespace k7310
