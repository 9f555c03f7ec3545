#include "device/ui/temperature_panel.h"

#include "app/kit/ui_text.h"
#include "app/kit/widget_place.h"
#include "texts/texts.h"

namespace k7310 {

TemperaturePanel::TemperaturePanel(QWidget* parent) : QGroupBox(parent) {
  const UiTexts& t = Texts();
  setObjectName(QStringLiteral("RzGroupBox13"));
  setGeometry(7, 232, 220, 96);
  RzLabel33 = PlaceLabel(this, "RzLabel33", 8, 6, t.RzLabel33);
  RzLabel34 = PlaceLabel(this, "RzLabel34", 16, 40, t.RzLabel34);
  RzComboBox9 = Place<QComboBox>(this, "RzComboBox9", 16, 60, 110, 21);
  for (const std::string& item : t.TempThresholds) RzComboBox9->addItem(Ui(item));
  RzComboBox9->setCurrentIndex(30);
  SpeedButton4 = PlaceCloseButton(this, "SpeedButton4", 200, 4);
  hide();
}

}  // namespace k7310
