#include "presets/ui/groups_box.h"

#include "app/kit/ui_text.h"
#include "app/kit/widget_place.h"
#include "texts/texts.h"

namespace k7310 {

GroupsBox::GroupsBox(QWidget* parent) : QGroupBox(parent) {
  const UiTexts& t = Texts();
  setObjectName(QStringLiteral("RzGroupBox4"));
  setGeometry(322, 6, 274, 85);

  RzLabel7 = PlaceLabel(this, "RzLabel7", 6, 13, t.RzLabel7);
  RzComboBox10 = Place<QComboBox>(this, "RzComboBox10", 46, 9, 154, 21);
  RzButton9 = PlaceButton(this, "RzButton9", 206, 8, 60, 24, t.RzButton9);
  RzLabel75 = PlaceLabel(this, "RzLabel75", 6, 45, t.RzLabel75);
  RzComboBox11 = Place<QComboBox>(this, "RzComboBox11", 46, 41, 62, 21);
  RzEdit1 = Place<QLineEdit>(this, "RzEdit1", 112, 41, 88, 21);
  RzEdit1->setMaxLength(19);
  RzButton10 = PlaceButton(this, "RzButton10", 206, 40, 60, 24, t.RzButton10);
  for (const std::string& prefix : t.GroupPrefixes) {
    RzComboBox10->addItem(Ui(prefix));
    RzComboBox11->addItem(Ui(prefix));
  }
  RzComboBox10->setCurrentIndex(0);
  RzComboBox11->setCurrentIndex(0);
  // Wide enough for the longest text the settings reply puts there.
  RzLabel14 = PlaceLabel(this, "RzLabel14", 43, 65, t.RzLabel14, 225, 0);
  SpeedButton2 = PlaceCloseButton(this, "SpeedButton2", 256, 66);
  SpeedButton2->hide();
}

}  // namespace k7310
