#include "app/tools_column.h"

#include <string>

#include "app/kit/widget_place.h"
#include "texts/texts.h"

namespace k7310 {

ToolsColumn::ToolsColumn(QWidget* parent) : QGroupBox(parent) {
  const UiTexts& t = Texts();
  setObjectName(QStringLiteral("GroupBox3"));
  setGeometry(611, 2, 122, 228);

  constexpr int kButtonTop = 6, kButtonStep = 28;
  QPushButton** buttons[] = {&Button8, &Button9, &Button6, &Button7, &Button4, &Button5};
  const std::string* captions[] = {&t.Button8, &t.Button9, &t.Button6, &t.Button7, &t.Button4, &t.Button5};
  const char* names[] = {"Button8", "Button9", "Button6", "Button7", "Button4", "Button5"};
  for (int i = 0; i < 6; ++i) {
    *buttons[i] = PlaceButton(this, names[i], 5, kButtonTop + kButtonStep * i, 112, 25, *captions[i]);
  }

  // The readouts: captions on the left, values right-aligned in one column. "Attenuation dB :" and a three-digit
  // reading do not fit on one line of the column, so the attenuation value stands on the line below its caption.
  RzGroupBox11 = Place<QGroupBox>(this, "RzGroupBox11", 5, 174, 112, 51);
  constexpr int kValueX = 40, kValueW = 112 - kValueX - 5;
  RzLabel28 = PlaceLabel(RzGroupBox11, "RzLabel28", 5, 4, t.RzLabel28);
  RzLabel29 = PlaceLabel(RzGroupBox11, "RzLabel29", kValueX, 4, t.RzLabel29, kValueW);
  RzLabel31 = PlaceLabel(RzGroupBox11, "RzLabel31", 5, 19, t.RzLabel31);
  RzLabel32 = PlaceLabel(RzGroupBox11, "RzLabel32", kValueX, 33, t.RzLabel32, kValueW);
  for (QLabel* value : {RzLabel29, RzLabel32}) value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

}  // namespace k7310
