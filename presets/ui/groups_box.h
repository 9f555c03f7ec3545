// The group box of the top bar: load a stored group of the device, store the active set under a number and name.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace k7310 {

class GroupsBox : public QGroupBox {
 public:
  explicit GroupsBox(QWidget* parent);

  QLabel* RzLabel7;         // "Load： "
  QComboBox* RzComboBox10;  // group to load, "Usr0:" .. "Pre7:" (names appended later)
  QPushButton* RzButton9;   // "Load"
  QLabel* RzLabel75;        // "Save:"
  QComboBox* RzComboBox11;  // group number to store under
  QLineEdit* RzEdit1;       // group name, at most 19 characters
  QPushButton* RzButton10;  // "Save"
  QLabel* RzLabel14;        // last group recalled on the device
  QToolButton* SpeedButton2;  // hidden corner close button
};

}  // namespace k7310
