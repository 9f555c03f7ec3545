#include "channel/ui/gain_panel.h"

#include "app/kit/pictures.h"
#include "app/kit/widget_place.h"
#include "texts/texts.h"

namespace k7310 {

GainPanel::GainPanel(QWidget* parent) : QGroupBox(parent) {
  const UiTexts& t = Texts();
  setObjectName(QStringLiteral("RzGroupBox5"));
  setGeometry(0, 0, kWidth, kHeight);
  // The fader fills the box; title, edit and buttons stand on it.
  Image2 = Place<QLabel>(this, "Image2", 1, 2, 163, 250);
  Image2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  RzLabel2 = PlaceLabel(this, "RzLabel2", 6, 5, t.PanelTitleDesign, 120);
  RzEdit17 = Place<QLineEdit>(this, "RzEdit17", 36, 224, 74, 21);
  RzEdit17->setText(QStringLiteral("0.0 dB"));
  SpinButton1 = new SpinButtons(this, "SpinButton1", 112, 224);
  SpeedButton17 = PlaceCloseButton(this, "SpeedButton17", 146, 3);
  hide();
}

}  // namespace k7310
