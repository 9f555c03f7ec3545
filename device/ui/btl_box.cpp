#include "device/ui/btl_box.h"

#include "app/kit/ui_text.h"
#include "app/kit/widget_place.h"
#include "texts/texts.h"

namespace k7310 {

BtlBox::BtlBox(QWidget* parent) : QGroupBox(parent) {
  const UiTexts& t = Texts();
  setObjectName(QStringLiteral("rzgrpbx_btl"));
  setTitle(Ui(t.BtlBoxTitle));
  setGeometry(7, 232, 200, 160);
  btn_btl0 = PlaceButton(this, "btn_btl0", 12, 24, 176, 25, t.BtlButtons[0]);
  btn_btl1 = PlaceButton(this, "btn_btl1", 12, 56, 176, 25, t.BtlButtons[1]);
  btn_btl2 = PlaceButton(this, "btn_btl2", 12, 88, 176, 25, t.BtlButtons[2]);
  btn_btl3 = PlaceButton(this, "btn_btl3", 12, 120, 176, 25, t.BtlButtons[3]);
  ModeButtons = {btn_btl0, btn_btl1, btn_btl2, btn_btl3};
  btn1 = PlaceCloseButton(this, "btn1", 180, 4);
  hide();
}

}  // namespace k7310
