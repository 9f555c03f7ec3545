#include "app/top_bar.h"

#include <QFont>

#include "app/kit/ui_text.h"
#include "app/kit/widget_place.h"
#include "texts/texts.h"

namespace k7310 {

TopBar::TopBar(QWidget* parent) : QGroupBox(parent) {
  const UiTexts& t = Texts();
  setObjectName(QStringLiteral("GroupBox2"));
  setGeometry(7, 2, 600, 95);

  // The link box and the broadcast box lie in the left 215 pixels: broadcast mode narrows the bar to them.
  RzGroupBox9 = Place<QGroupBox>(this, "RzGroupBox9", 4, 6, 140, 85);
  ComLabel = PlaceLabel(RzGroupBox9, "ComLabel", 6, 11, t.ComLabel);
  RzComboBox1 = Place<QComboBox>(RzGroupBox9, "RzComboBox1", 66, 7, 68, 21);
  // "Times New Roman" 8 pt, or its metric twin, at the window's 11 pixels.
  QFont portFont(QStringLiteral("Times New Roman"));
  portFont.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")});
  portFont.setPixelSize(11);
  RzComboBox1->setFont(portFont);
  RzComboBox7 = Place<QComboBox>(RzGroupBox9, "RzComboBox7", 66, 7, 68, 21);
  RzComboBox7->hide();
  RzComboBox8 = Place<QComboBox>(RzGroupBox9, "RzComboBox8", 66, 7, 68, 21);
  RzComboBox8->hide();
  RzLabel10 = PlaceLabel(RzGroupBox9, "RzLabel10", 6, 35, t.RzLabel10);
  RzComboBox6 = Place<QComboBox>(RzGroupBox9, "RzComboBox6", 66, 31, 68, 21);
  for (int id = 1; id <= 255; ++id) RzComboBox6->addItem(QString::number(id));
  RzComboBox6->setCurrentIndex(0);
  Button3 = PlaceButton(RzGroupBox9, "Button3", 6, 55, 92, 24, t.Button3Design);
  Image15 = Place<QLabel>(RzGroupBox9, "Image15", 106, 54, 25, 25);
  Image15->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  RzGroupBox10 = Place<QGroupBox>(this, "RzGroupBox10", 146, 6, 66, 85);
  RzButton8 = PlaceButton(RzGroupBox10, "RzButton8", 5, 20, 56, 44, t.RzButton8);

  RzGroupBox15 = Place<QGroupBox>(this, "RzGroupBox15", 216, 6, 102, 85);
  RzLabel11 = PlaceLabel(RzGroupBox15, "RzLabel11", 6, 9, t.RzLabel11);
  RzEdit2 = Place<QLineEdit>(RzGroupBox15, "RzEdit2", 6, 30, 56, 21);
  RzEdit2->setText(Ui(t.RzEdit2));
  Button1 = PlaceButton(RzGroupBox15, "Button1", 6, 55, 56, 24, t.Button1);

  RzGroupBox4 = new GroupsBox(this);
}

}  // namespace k7310
