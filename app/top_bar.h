// The top bar GroupBox2: link box, broadcast box, set-ID box and the group box.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "presets/ui/groups_box.h"

namespace k7310 {

class TopBar : public QGroupBox {
 public:
  explicit TopBar(QWidget* parent);

  // Link box.
  QGroupBox* RzGroupBox9;
  QLabel* ComLabel;         // "COM :     "
  QComboBox* RzComboBox1;   // port list
  QComboBox* RzComboBox7;   // hidden: fresh port list for the refresh comparison
  QComboBox* RzComboBox8;   // hidden: fresh port list for the presence check
  QLabel* RzLabel10;        // "Device ID:"
  QComboBox* RzComboBox6;   // "1" .. "255", item index = DeviceIndex
  QPushButton* Button3;     // connect / disconnect
  QLabel* Image15;          // link lamp, 25 x 25

  // Broadcast box.
  QGroupBox* RzGroupBox10;
  QPushButton* RzButton8;

  // Set-ID box.
  QGroupBox* RzGroupBox15;
  QLabel* RzLabel11;
  QLineEdit* RzEdit2;
  QPushButton* Button1;

  // Group box.
  GroupsBox* RzGroupBox4;
};

}  // namespace k7310
