// The main window TForm1: a fixed 750 x 753 window composed of the top bar, the tools column, the channel strip,
// the editing panels, the progress box and the status bar. The panels own their controls; the controllers reach
// them through the public members below, which carry the designer names.
#pragma once

#include <QAction>
#include <QFont>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPixmap>
#include <QStatusBar>

#include <array>

#include "app/kit/panel_frame.h"
#include "app/kit/history_list.h"
#include "app/kit/regions.h"
#include "app/progress_box.h"
#include "app/tools_column.h"
#include "app/top_bar.h"
#include "channel/ui/channel_strip.h"
#include "channel/ui/delay_panel.h"
#include "channel/ui/gain_panel.h"
#include "channel/ui/limiter_panel.h"
#include "device/ui/btl_box.h"
#include "device/ui/search_boxes.h"
#include "device/ui/temperature_panel.h"
#include "eq/ui/eq_box.h"
#include "presets/ui/initial_data_box.h"

namespace k7310 {

class Dialogs;

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kWidth = 750;
  static constexpr int kHeight = 753;
  // Fixed places of the editing area, below the strip.
  static constexpr int kEditAreaX = 7;
  static constexpr int kEditAreaY = 232;

  explicit TForm1(Dialogs& dialogs, QWidget* parent = nullptr);

  // The font of the window and all its controls.
  static QFont WindowFont();

  Dialogs& dialogs() const { return dialogs_; }

  // The client area below the menu bar; every region is placed in its coordinates.
  QWidget* Client;

  // Regions.
  TopBar* GroupBox2;
  ToolsColumn* GroupBox3;
  ChannelStrip* GroupBox1;
  EqBox* RzGroupBox8;
  SearchResultBox* RzGroupBox2;
  SearchProgressBox* RzGroupBox3;
  TemperaturePanel* RzGroupBox13;
  ProgressBox* RzGroupBox1;
  // Floating panels.
  GainPanel* RzGroupBox5;
  DelayPanel* RzGroupBox6;
  LimiterPanel* RzGroupBox7;
  InitialDataBox* RzGroupBox16;
  BtlBox* rzgrpbx_btl;
  // Shown together with the EQ box when a USB device is in use; has no controls of its own.
  QWidget* RzGroupBox12;
  // The USB diagnostics, hidden: the device list, the history of arrivals, removals, written reports and errors,
  // and the status label.
  QListWidget* DevListBox;
  HistoryList* HistoryListBox;
  QLabel* lbl_usbhid;

  QStatusBar* StatusBar1;
  QLabel* StatusPanel0;  // the first (and only) panel, 200 wide

  // Menus. A menu's QAction is its entry in the menu bar (hide or disable it to hide or disable the menu).
  QAction* N112;  // "File"
  QAction* N10;   // "Exit"
  QAction* N6;    // "Help"
  QAction* N9;    // "Version"
  QAction* BTL1;  // "About BTL", hidden
  // Menus that are never visible.
  QAction* N1;
  QAction* N2;
  QAction* N111;
  QAction* N3;
  QAction* N201;
  QAction* N4;
  QAction* N5;  // "设备连接"
  QAction* N7;  // "连接", holds the COM items
  std::array<QAction*, 40> ComItems;  // "Com1", "COM2" .. "COM40"
  QAction* N12;  // "设备号"
  std::array<QAction*, 38> DeviceNumberItems;
  QAction* N8;  // "断开"
  QAction* N15;
  QAction* N16;
  QAction* N11;
  QAction* ID1;  // full device search
  QAction* N14;  // show the search result

  // Pictures copied at start.
  QPixmap FaderBackBitmap;
  QPixmap FaderKnobBitmap;
  QPixmap FaderKnobHotBitmap;
  QPixmap LampOffBitmap;
  QPixmap LampOnBitmap;
  std::array<QPixmap, 3> BtlIcons;  // normal, Low-Mid, High-Mid

  PanelFrame Panels;
  Regions regions;

  // Menu handlers.
  void N10Click();  // Exit: closes the window
  void N9Click();   // Version

 private:
  void BuildMenus();
  void BuildPanelTable();
  void StartUp();

  Dialogs& dialogs_;
};

}  // namespace k7310
