#include "app/form4.h"

#include "app/kit/pictures.h"
#include "app/kit/ui_text.h"
#include "texts/texts.h"

namespace k7310 {

TForm4::TForm4(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("Form4"));
  setWindowTitle(Ui(Texts().BtlFormCaption));
  setFixedSize(kWidth, kHeight);
  WiringImage = new QLabel(this);
  WiringImage->setObjectName(QStringLiteral("WiringImage"));
  WiringImage->setGeometry(4, 0, 713, 157);
  WiringImage->setPixmap(BtlWiringPicture());
}

}  // namespace k7310
