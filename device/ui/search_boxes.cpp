#include "device/ui/search_boxes.h"

#include "app/kit/widget_place.h"
#include "texts/texts.h"

namespace k7310 {

SearchProgressBox::SearchProgressBox(QWidget* parent) : QGroupBox(parent) {
  const UiTexts& t = Texts();
  setObjectName(QStringLiteral("RzGroupBox3"));
  setGeometry(176, 232, 360, 104);
  RzLabel9 = PlaceLabel(this, "RzLabel9", 14, 12, t.RzLabel9, 330);
  RzProgressBar2 = Place<QProgressBar>(this, "RzProgressBar2", 14, 38, 332, 22);
  RzProgressBar2->setRange(0, 100);
  RzProgressBar2->setValue(0);
  Button2 = PlaceButton(this, "Button2", 142, 70, 75, 25, t.Button2);
}

SearchResultBox::SearchResultBox(QWidget* parent) : QGroupBox(parent) {
  const UiTexts& t = Texts();
  setObjectName(QStringLiteral("RzGroupBox2"));
  setGeometry(7, 232, 600, 190);
  RzLabel6 = PlaceLabel(this, "RzLabel6", 8, 6, t.RzLabel6, 300);
  Memo1 = Place<QPlainTextEdit>(this, "Memo1", 8, 26, 584, 156);
  Memo1->setReadOnly(true);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  SpeedButton1 = PlaceCloseButton(this, "SpeedButton1", 580, 4);
  hide();
}

}  // namespace k7310
