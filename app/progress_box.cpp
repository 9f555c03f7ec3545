#include "app/progress_box.h"

#include "app/kit/widget_place.h"
#include "texts/texts.h"

namespace k7310 {

ProgressBox::ProgressBox(QWidget* parent) : QGroupBox(parent) {
  setObjectName(QStringLiteral("RzGroupBox1"));
  setGeometry(208, 504, 320, 72);
  RzLabel46 = PlaceLabel(this, "RzLabel46", 12, 10, Texts().RzLabel46, 296);
  RzProgressBar1 = Place<QProgressBar>(this, "RzProgressBar1", 12, 36, 296, 22);
  RzProgressBar1->setRange(0, 100);
  RzProgressBar1->setValue(0);
}

}  // namespace k7310
