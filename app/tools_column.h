// The tools column GroupBox3: search and file buttons, and the temperature and attenuation readouts.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace k7310 {

class ToolsColumn : public QGroupBox {
 public:
  explicit ToolsColumn(QWidget* parent);

  QPushButton* Button8;  // "search device id"
  QPushButton* Button9;  // "search result"
  QPushButton* Button6;  // "save one group to PC"
  QPushButton* Button7;  // "load one group to DV"
  QPushButton* Button4;  // "save 8-group to PC"
  QPushButton* Button5;  // "load 8-group to DV"
  QGroupBox* RzGroupBox11;
  QLabel* RzLabel28;  // "Temp:"
  QLabel* RzLabel29;  // measured temperature
  QLabel* RzLabel31;  // "Attenuation dB :"
  QLabel* RzLabel32;  // measured attenuation
};

}  // namespace k7310
