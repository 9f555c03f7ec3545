// Every text the program shows, keyed by the place that shows it. One table per edition; the edition is chosen
// when the program is linked (k7310_texts_en or k7310_texts_zh), so each program carries only its own texts.
// Texts are UTF-8. Texts that are the same in both editions are still listed here, so that every shown text has
// one home.
#pragma once

#include <array>
#include <string>

namespace k7310 {

struct UiTexts {
  // Windows, version and warning.
  std::string MainCaption;          // TForm1
  std::string VersionMessage;       // menu "Version"
  std::string DisconnectedCaption;  // TForm_Disconnected
  std::string DisconnectedLabel;    // lbl1
  std::string DisconnectedButton;   // btn1
  std::string BtlFormCaption;       // TForm4

  // Menus.
  std::string N112;  // "File"
  std::string N10;   // "Exit"
  std::string N6;    // "Help"
  std::string N9;    // "Version"
  std::string BTL1;  // "About BTL" (hidden; the Chinese edition has no such item)
  bool HasBtl1 = true;
  // Menus that are never visible (same in both editions).
  std::string N1, N2, N111, N3, N201, N4;
  std::string N5, N7, N12, N8;
  std::string N15, N16;
  std::string N11, ID1, N14;

  // Top bar.
  std::string ComLabel;     // "COM :     "
  std::string RzLabel10;    // "Device ID:"
  std::string Button3Design;     // design caption, shown while disconnected
  std::string Button3Connected;  // shown while connected
  std::string RzButton8;    // broadcast, two lines
  std::string RzLabel11;    // "Set device id :"
  std::string RzEdit2;      // "1"
  std::string Button1;      // "OK"
  std::string RzLabel7;     // "Load： "
  std::string RzLabel75;    // "Save:"
  std::string RzButton9;    // "Load"
  std::string RzButton10;   // "Save"
  std::string RzLabel14;    // "The last load group:    "
  std::array<std::string, 8> GroupPrefixes;  // "Usr0:" .. "Pre7:"
  std::string LastGroupUsr;  // "The last load group:Usr"
  std::string LastGroupPre;  // "The last load group:Pre"

  // Tools column.
  std::string Button8, Button9, Button6, Button7, Button4, Button5;
  std::string RzLabel28;  // "Temp:"
  std::string RzLabel29;  // "10 °C"
  std::string RzLabel31;  // "Attenuation dB :"
  std::string RzLabel32;  // "0 dB"
  std::string TempHighest;  // status temperature at step 0: ">=70 °C"
  std::string TempLowest;   // at the last step: "<=10 °C"
  std::string TempUnit;     // after the degrees of the other steps: " °C"
  std::string DbUnit;       // after the attenuation: " dB"

  // Channel strip.
  std::string RzLabel13;  // " Main "
  std::string RzLabel1;   // " High "
  std::string RzLabel24;  // " Mid   "
  std::string RzLabel25;  // " Low "
  std::string RzLabel8;   // "Volume"
  std::string EqButton;       // RzButton41, RzButton47, RzButton53
  std::string LimiterButton;  // RzButton43, RzButton49, RzButton55
  std::string DelayButton;    // RzButton44, RzButton50, RzButton56
  std::string GainButton;     // RzButton45, RzButton51, RzButton57
  std::string MuteButton;     // RzButton46, RzButton52, RzButton58
  std::string PolarityPlus;   // "+"
  std::string PolarityMinus;  // "-"
  std::string RzButton98;     // "recoup"
  std::string RzButton4;      // "Main EQ"
  std::string RzButton5;      // "Main delay"
  std::string RzButton7;      // "BTL Mode"
  std::string RzButton7Hint;
  std::string RzButton11;     // "Temp set"
  std::string VolumeMute;     // Label1 at position 0
  std::string Label1;         // design text of the volume value

  // Status bar.
  std::string StatusDesign;      // design text of the first panel
  std::string StatusConnected;   // followed by the port name
  std::string StatusDisconnected;

  // Panel titles, by ChannelIndex (0 High, 1 Mid, 2 Low, 3 Main); empty where a channel has no such panel.
  std::array<std::string, 4> EqTitle;
  std::array<std::string, 4> CrossoverTitle;
  std::array<std::string, 4> LimiterTitle;
  std::array<std::string, 4> DelayTitle;
  std::array<std::string, 4> GainTitle;
  std::string PanelTitleDesign;  // "Output 1" (RzLabel2, RzLabel4, RzLabel5, RzLabel18)
  std::string RzLabel19;         // "Output 1--EQ"

  // EQ box.
  std::string RzLabel89, RzLabel90, RzLabel91, RzLabel92;  // column headings
  std::string RzLabel95, RzLabel96;                         // "HPF", "LPF"
  std::array<std::string, 6> BandNumbers;                   // " 1 " .. " 6 "
  std::string RzButton97;                                   // "0 dB"
  std::array<std::string, 3> EqTypes;                       // "PEQ", "LS", "HS"
  std::array<std::string, 9> CrossoverTypes;

  // Limiter.
  std::string RzLabel15, RzLabel16, RzLabel17, RzLabel21;
  std::array<std::string, 20> Thresholds;
  std::array<std::string, 7> Attacks;
  std::array<std::string, 7> Releases;
  std::array<std::string, 7> Ratios;

  // Delay and gain formats are numbers with fixed units: kept beside the numbers in their panels.

  // Search.
  std::string RzLabel9;           // progress box label
  std::string Button2;            // "Cancel"
  std::string RzLabel6;           // result label, design text
  std::string SearchResultNone;   // after a search without answers
  std::string SearchResultFound;  // after a search with answers
  std::string SearchEntryPort;    // "COM", before the port's name
  std::string SearchEntryDevice;  // "--Device ID", before the ID
  std::string SearchEntryEnd;     // " , ", after the ID

  // Progress box.
  std::string RzLabel46;

  // Temperature.
  std::string RzLabel33, RzLabel34;
  std::array<std::string, 31> TempThresholds;  // RzComboBox9, item t = TempThreshold t

  // BTL.
  std::string BtlBoxTitle;  // "   BTL    "
  std::array<std::string, 4> BtlButtons;

  // Initial data load.
  std::string RzLabel22, RzLabel26, RzLabel23, RzEdit3, Button10, RzLabel27, Button11;

  // Messages.
  std::string NoPort;               // "No port."
  std::string PleaseDisconnect;     // broadcast switch while linked
  std::string BadDeviceId;          // "Please input 1~255 number."
  std::string BtlQuestion;          // "Want to set BTL mode?"
  std::string NoticeTitle;          // title of the Yes/No questions
  std::string BroadcastQuestion;
  std::string LoadPresetQuestion;
  std::string SavedMessage;         // "Successfully save."
  std::string FileDamaged;
  std::string DeviceIdChanged;      // followed by the new ID
  std::string UsbNoBroadcast;
  std::string BroadcastOpened;
  std::string BroadcastOff;
  std::string BroadcastNoTempThreshold;  // a threshold picked in broadcast mode is not sent
  std::string SourceNoResponse;     // initial data load, way 1

  // File dialogs: proposed names and filter descriptions.
  std::string GroupFileName;        // SaveDialog2
  std::string GroupFileFilter;      // SaveDialog2, OpenDialog2
  std::string AllGroupsFileName;    // SaveDialog1
  std::string AllGroupsFileFilter;  // SaveDialog1, OpenDialog1

  // Hidden USB label.
  std::string LblUsbHid, UsbArrived, UsbRemoved;
  // The processor on USB cannot be opened for want of permission; %1 is its device path.
  std::string UsbNoPermission;
};

// The table of this program's edition.
const UiTexts& Texts();

}  // namespace k7310
