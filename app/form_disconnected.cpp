#include "app/form_disconnected.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>

#include "app/kit/ui_text.h"
#include "texts/texts.h"

namespace k7310 {

TForm_Disconnected::TForm_Disconnected(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
  const UiTexts& t = Texts();
  setObjectName(QStringLiteral("Form_Disconnected"));
  setWindowTitle(Ui(t.DisconnectedCaption));
  setModal(false);
  setFixedSize(kWidth, kHeight);

  lbl1 = new QLabel(Ui(t.DisconnectedLabel), this);
  lbl1->setObjectName(QStringLiteral("lbl1"));
  QFont f(QStringLiteral("Cambria"));
  // Caladea has Cambria's metrics.
  f.setFamilies({QStringLiteral("Cambria"), QStringLiteral("Caladea")});
  f.setPixelSize(16);
  lbl1->setFont(f);
  lbl1->move(24, 16);
  lbl1->adjustSize();

  btn1 = new QPushButton(Ui(t.DisconnectedButton), this);
  btn1->setObjectName(QStringLiteral("btn1"));
  btn1->setGeometry(117, 62, 75, 25);
  connect(btn1, &QPushButton::clicked, this, &QDialog::close);
}

void TForm_Disconnected::ShowCentredOn(QWidget* window) {
  // Shown first: the frame is known only once the window is on the screen.
  show();
  const QRect area = window ? window->frameGeometry()
                            : (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                                : QRect(0, 0, kWidth, kHeight));
  QRect frame = frameGeometry();
  frame.moveCenter(area.center());
  move(frame.topLeft());
  raise();
  activateWindow();
}

}  // namespace k7310
