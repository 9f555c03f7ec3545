// The English edition's texts.
#include <string>

#include "texts/texts.h"

namespace k7310 {
namespace {

UiTexts MakeEnglish() {
  UiTexts t;
  t.MainCaption = "K_7310 V1.2.7_H";
  t.VersionMessage = "API for Version K_7310 V1.2.7H";
  t.DisconnectedCaption = "Wanrnning";
  t.DisconnectedLabel = "Connection has been disconnedted!!";
  t.DisconnectedButton = "OK";
  t.BtlFormCaption = "BTL Mode";

  t.N112 = "File";
  t.N10 = "Exit";
  t.N6 = "Help";
  t.N9 = "Version";
  t.BTL1 = "About BTL";
  t.HasBtl1 = true;
  t.N1 = "设备";
  t.N2 = "从PC文件中下发一个组到设备";
  t.N111 = "从PC文件中下发20组到设备中";
  t.N3 = "保存设备当前用户数据到电脑";
  t.N201 = "把设备的20组保存到电脑";
  t.N4 = "退出";
  t.N5 = "设备连接";
  t.N7 = "连接";
  t.N12 = "设备号";
  t.N8 = "断开";
  t.N15 = "保存和调用";
  t.N16 = "保存和调用";
  t.N11 = "搜索可用设备";
  t.ID1 = "搜索可用设备";
  t.N14 = "查看搜索结果";

  t.ComLabel = "COM :     ";
  t.RzLabel10 = "Device ID:";
  t.Button3Design = "Disconnect";
  t.Button3Connected = "Connect";
  t.RzButton8 = "Broadcast\nMode";
  t.RzLabel11 = "Set device id :";
  t.RzEdit2 = "1";
  t.Button1 = "OK";
  t.RzLabel7 = "Load： ";
  t.RzLabel75 = "Save:";
  t.RzButton9 = "Load";
  t.RzButton10 = "Save";
  t.RzLabel14 = "The last load group:    ";
  t.GroupPrefixes = {"Usr0:", "Usr1:", "Usr2:", "Usr3:", "Pre4:", "Pre5:", "Pre6:", "Pre7:"};
  t.LastGroupUsr = "The last load group:Usr";
  t.LastGroupPre = "The last load group:Pre";

  t.Button8 = "search device id";
  t.Button9 = "search result";
  t.Button6 = "save one group to PC";
  t.Button7 = "load one group to DV";
  t.Button4 = "save 8-group to PC";
  t.Button5 = "load 8-group to DV";
  t.RzLabel28 = "Temp:";
  t.RzLabel29 = "10 °C";
  t.TempHighest = ">=70 °C";
  t.TempLowest = "<=10 °C";
  t.TempUnit = " °C";
  t.DbUnit = " dB";
  t.RzLabel31 = "Attenuation dB :";
  t.RzLabel32 = "0 dB";

  t.RzLabel13 = " Main ";
  t.RzLabel1 = " High ";
  t.RzLabel24 = " Mid   ";
  t.RzLabel25 = " Low ";
  t.RzLabel8 = "Volume";
  t.EqButton = "EQ/HPF/LPF";
  t.LimiterButton = "Limiter";
  t.DelayButton = "Delay";
  t.GainButton = "Gain";
  t.MuteButton = "Mute";
  t.PolarityPlus = "+";
  t.PolarityMinus = "-";
  t.RzButton98 = "recoup";
  t.RzButton4 = "Main EQ";
  t.RzButton5 = "Main delay";
  t.RzButton7 = "BTL Mode";
  t.RzButton7Hint = "可在帮助里查看成BTL图例";
  t.RzButton11 = "Temp set";
  t.VolumeMute = "Mute";
  t.Label1 = "Mute";

  t.StatusDesign = "Disconnect";
  t.StatusConnected = "  Connect ";
  t.StatusDisconnected = "  Disconnect";

  t.EqTitle = {"High--EQ", "Mid--EQ", "Low--EQ", "Main--EQ"};
  t.CrossoverTitle = {"High--H/LPF", "Mid--H/LPF", "Low--H/LPF", "Main--H/LPF"};
  t.LimiterTitle = {"High--Limiter", "Mid--Limiter", "Low--Limiter", ""};
  t.DelayTitle = {"High--Delay", "Mid--Delay", "Low--Delay", "Mian--Delay"};
  t.GainTitle = {"High--Gain", "Mid--Gain", "Low--Gain", ""};
  t.PanelTitleDesign = "Output 1";
  t.RzLabel19 = "Output 1--EQ";

  t.RzLabel89 = "  Frequency ";
  t.RzLabel90 = "   Q Value   ";
  t.RzLabel91 = "       Gain     ";
  t.RzLabel92 = "     Type     ";
  t.RzLabel95 = "HPF";
  t.RzLabel96 = "LPF";
  t.BandNumbers = {" 1 ", " 2 ", " 3 ", " 4 ", " 5 ", " 6 "};
  t.RzButton97 = "0 dB";
  t.EqTypes = {"PEQ", "LS", "HS"};
  t.CrossoverTypes = {"12db-Bworth", "12db-LR", "12db-Bessel", "18db-Bworth", "18db-LR",
                      "18db-Bessel", "24db-Bworth", "24db-LR", "24db-Bessel"};

  t.RzLabel15 = "Threshold";
  t.RzLabel16 = "Attack";
  t.RzLabel17 = "Ration";
  t.RzLabel21 = "Release";
  for (int i = 0; i < 20; ++i) t.Thresholds[i] = std::to_string(i - 19) + "dBu";
  t.Attacks = {"0.5 ms", "1 ms", "2 ms", "5 ms", "10 ms", "20 ms", "50 ms"};
  t.Releases = {"90ms", "200ms", "500ms", "700ms", "1200ms", "2000ms", "5000ms"};
  t.Ratios = {"0.5 ms/dB", "1 ms/dB", "2 ms/dB", "5 ms/dB", "10 ms/dB", "20 ms/dB", "50 ms/dB"};

  t.RzLabel9 = "Checking available device ID                       ";
  t.Button2 = "Cancel";
  t.RzLabel6 = "search result:none     ";
  t.SearchResultNone = "search result :none     ";
  t.SearchResultFound = "search result :     ";
  t.SearchEntryPort = "COM";
  t.SearchEntryDevice = "--Device ID";
  t.SearchEntryEnd = " , ";

  t.RzLabel46 = "Please wait,doing data exchange.                         ";

  t.RzLabel33 = "temperature set ";
  t.RzLabel34 = "temperature set ";
  t.TempThresholds[0] = ">=70 °C";
  for (int i = 1; i < 31; ++i) t.TempThresholds[i] = std::to_string(70 - 2 * i) + " °C";

  t.BtlBoxTitle = "   BTL    ";
  t.BtlButtons = {"No BTL", "Low-Mid BTL", "High-Mid BTL", "High-Mid BTL-One Ch Mode"};

  t.RzLabel22 = "The initial data load mode:                      ";
  t.RzLabel26 = "1.";
  t.RzLabel23 = "Specify one device ID for initial data:                         ";
  t.RzEdit3 = "1";
  t.Button10 = "OK";
  t.RzLabel27 = "2.";
  t.Button11 = "From the computer into a group as the initial data";

  t.NoPort = "No port.";
  t.PleaseDisconnect = "Please disconnect.";
  t.BadDeviceId = "Please input 1~255 number.";
  t.BtlQuestion = "Want to set BTL mode?";
  t.NoticeTitle = "Notice";
  t.BroadcastQuestion =
      "In broadcast mode must put all equipment unified data, otherwise cannot broadcast mode.";
  t.LoadPresetQuestion = "Loading a Preset will replace the active\r\nPreset.Do you want to proceed?";
  t.SavedMessage = "Successfully save.";
  t.FileDamaged = "File damaged.";
  t.DeviceIdChanged = "DeviceID change to ";
  t.UsbNoBroadcast = "USB MODE.Can not enter brocast mode.";
  t.BroadcastOpened = "The broadcast mode has been opened.";
  t.BroadcastNoTempThreshold =
      "The temperature threshold is not sent in broadcast mode.\nSet it on each device by its own ID.";
  t.BroadcastOff = "The broadcast mode is off.";
  t.SourceNoResponse = "The device ID no response, please try again or check the ID is correct.";

  t.GroupFileName = "K_6120";
  t.GroupFileFilter = "K_6120文档";
  t.AllGroupsFileName = "QK_6120";
  t.AllGroupsFileFilter = "QK_6120文档";

  t.LblUsbHid = "接到回复数据时显示已连上";
  t.UsbArrived = "已接上设备.";
  t.UsbRemoved = "已移除设备.";
  t.UsbNoPermission =
      "The K_7310 is plugged in on USB, but this user may not open it (%1).\n\n"
      "The rule file 60-k7310.rules gives access: the program's package installs it into /usr/lib/udev/rules.d; "
      "without the package, copy it into /etc/udev/rules.d. Then reload the rules with\n\n"
      "    sudo udevadm control --reload-rules && sudo udevadm trigger\n\n"
      "and plug the unit in again.";
  return t;
}

}  // namespace

const UiTexts& Texts() {
  static const UiTexts table = MakeEnglish();
  return table;
}

}  // namespace k7310
