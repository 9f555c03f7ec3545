#include "app/tools_column.h"

#include "app/kit/widget_place.h"
#include "texts/texts.h"

namespace k7310 {

ToolsColumn::ToolsColumn(QWidget* parent) : QGroupBox(parent) {
  const UiTexts& t = Texts();
  setObjectName(QStringLiteral("GroupBox3"));
  setGeometry(611, 2, 122, 228);

  Button8 = PlaceButton(this, "Button8", 5, 8, 112, 25, t.Button8);
  Button9 = PlaceButton(this, "Button9", 5, 36, 112, 25, t.Button9);
  Button6 = PlaceButton(this, "Button6", 5, 64, 112, 25, t.Button6);
  Button7 = PlaceButton(this, "Button7", 5, 92, 112, 25, t.Button7);
  Button4 = PlaceButton(this, "Button4", 5, 120, 112, 25, t.Button4);
  Button5 = PlaceButton(this, "Button5", 5, 148, 112, 25, t.Button5);

  RzGroupBox11 = Place<QGroupBox>(this, "RzGroupBox11", 5, 177, 112, 46);
  RzLabel28 = PlaceLabel(RzGroupBox11, "RzLabel28", 5, 6, t.RzLabel28);
  RzLabel29 = PlaceLabel(RzGroupBox11, "RzLabel29", 50, 6, t.RzLabel29, 58);
  RzLabel31 = PlaceLabel(RzGroupBox11, "RzLabel31", 5, 25, t.RzLabel31);
  RzLabel32 = PlaceLabel(RzGroupBox11, "RzLabel32", RzLabel31->x() + RzLabel31->width() + 3, 25, t.RzLabel32, 30);
}

}  // namespace k7310
