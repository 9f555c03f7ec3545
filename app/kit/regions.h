// The window's regions as the controllers switch them: shown, hidden, enabled. The main window fills this once;
// controllers and panels take it instead of the main window itself.
#pragma once

#include <QAction>
#include <QWidget>

namespace k7310 {

struct Regions {
  QWidget* GroupBox1 = nullptr;     // channel strip
  QWidget* GroupBox2 = nullptr;     // top bar
  QWidget* GroupBox3 = nullptr;     // tools column
  QWidget* RzGroupBox8 = nullptr;   // EQ box
  QWidget* RzGroupBox12 = nullptr;  // shown with the EQ box while a USB device is in use
  QWidget* RzGroupBox4 = nullptr;   // group box of the top bar
  QWidget* RzGroupBox1 = nullptr;   // progress box
  QAction* N1 = nullptr;            // hidden device menu
  QAction* N112 = nullptr;          // "File"
  QAction* N6 = nullptr;            // "Help"

  // The working controls: strip, top bar, tools column, group box and the File/Help menus.
  void EnableWorkingControls(bool on) const {
    for (QWidget* w : {GroupBox1, GroupBox2, GroupBox3, RzGroupBox4}) w->setEnabled(on);
    for (QAction* a : {N1, N112, N6}) a->setEnabled(on);
  }
  // The EQ box, the strip, the top bar and the tools column, as a connect, a disconnect and the end of a long
  // action leave them.
  void EnableEditing() const {
    for (QWidget* w : {RzGroupBox8, GroupBox1, GroupBox2, GroupBox3}) w->setEnabled(true);
  }
  // The regions that appear when the start-up sweep ends.
  void ShowMain() const {
    for (QWidget* w : {GroupBox1, GroupBox2, GroupBox3}) w->show();
    N112->setVisible(true);
    N6->setVisible(true);
  }
};

}  // namespace k7310
