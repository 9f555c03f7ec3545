// The lost-connection warning: a small modeless window centred on the main window, closed by its button or by
// the next connect.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace k7310 {

class TForm_Disconnected : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kWidth = 309;
  static constexpr int kHeight = 103;

  explicit TForm_Disconnected(QWidget* parent = nullptr);

  // Shows the window without blocking, centred on the given window (on the screen when it is null).
  void ShowCentredOn(QWidget* window);

  QLabel* lbl1;
  QPushButton* btn1;
};

}  // namespace k7310
