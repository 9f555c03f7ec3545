#include "app/connection.h"

#include "app/device_app.h"
#include "app/dialogs.h"
#include "app/form1.h"
#include "app/form_disconnected.h"
#include "app/ui_text.h"
#include "app/wait.h"
#include "protocol/catalogue.h"
#include "texts/texts.h"

namespace k7310 {

ConnectionController::ConnectionController(DeviceApp& app) : app_(app) {
  TimerSet& t = app_.timers;
  t[TimerId::chcon].OnTimer([this] { LostLink(0); });
  t[TimerId::chcon112].OnTimer([this] { LostLink(1); });
  t[TimerId::chcon188].OnTimer([this] { LostLink(2); });
  t[TimerId::intimer].OnTimer([this] { intimerTimer(); });
  t[TimerId::Timer6].OnTimer([this] { Timer6Timer(); });
  t[TimerId::Timer13].OnTimer([this] { Timer13Timer(); });
  t[TimerId::refurbish].OnTimer([this] { refurbishTimer(); });
  t[TimerId::brocar1].OnTimer([this] { brocar1Timer(); });
  app_.serial.onVanished = [this] { PortVanished(); };

  TForm1& f = app_.form;
  QObject::connect(f.GroupBox2->Button3, &QPushButton::clicked, &app_, [this] { Button3Click(); });
  QObject::connect(f.N8, &QAction::triggered, &app_, [this] { N8Click(); });
  for (int k = 1; k <= static_cast<int>(f.ComItems.size()); ++k)
    QObject::connect(f.ComItems[static_cast<std::size_t>(k - 1)], &QAction::triggered, &app_,
                     [this, k] { ComItemClick(k); });
  f.GroupBox2->Image15->setPixmap(f.LampOffBitmap.copy(0, 0, 25, 25));
}

bool ConnectionController::Connected() const {
  return app_.form.GroupBox2->Button3->text() != Ui(Texts().Button3Design);
}

void ConnectionController::Button3Click() {
  app_.timers[TimerId::Timer6].SetEnabled(true);
  app_.form.GroupBox2->Button3->setEnabled(false);
  if (Connected())
    Disconnect();
  else
    Connect();
}

void ConnectionController::Connect() {
  TForm1& f = app_.form;
  DeviceSession& s = app_.session;
  const UiTexts& T = Texts();
  // 1. A new attempt closes the warning of the last one.
  if (app_.warning.isVisible()) app_.warning.close();
  // 2. The chosen port.
  if (!app_.UseHid) {
    const int selected = f.GroupBox2->RzComboBox1->currentIndex();
    if (selected >= 0 && static_cast<std::size_t>(selected) < app_.PortNumbers.size())
      app_.PortNumber = app_.PortNumbers[static_cast<std::size_t>(selected)];
  }
  // 3. Close the open panel and forget unfinished actions.
  f.Panels.KeepEqBox = false;
  f.Panels.ClosePanel();
  s.flags.AwaitRecall = 0;
  s.SearchRunning = 0;
  s.ProgressSends = 0;
  s.ProgressCount = 0;
  // 4.
  f.RzGroupBox1->hide();
  app_.EnableEditing();
  // 5.
  if (s.LinkOpen) {
    app_.CloseSerialPort();
    WaitWithMessages(100);
  }
  s.commandSlots.ClearAllSlots();
  // 6. Open the link.
  if (app_.UseHid && app_.HidDeviceAttached) {
    s.LinkOpen = true;
    app_.PortNumber = 100;
  } else {
    app_.OpenSerialPort();
  }
  if (!s.LinkOpen) {
    RefreshComMenu();
    app_.PortNumber = 0;
    app_.dialogs.Message(Ui(T.NoPort));
    return;
  }
  // 8. Broadcast: nothing answers, so nothing is asked and no watchdog is armed.
  if (s.DeviceIndex == kBroadcastIndex) {
    f.GroupBox2->RzComboBox6->setEnabled(false);
    f.GroupBox2->RzComboBox1->setEnabled(false);
    const bool yes = app_.dialogs.Question(Ui(T.NoticeTitle), Ui(T.BroadcastQuestion));
    // The port may have gone while the question was open.
    if (!s.LinkOpen) return;
    if (!yes) {
      f.GroupBox2->Button3->setText(Ui(T.Button3Connected));
      Button3Click();
      return;
    }
    f.GroupBox1->setEnabled(false);
    f.GroupBox2->setEnabled(false);
    f.GroupBox3->setEnabled(false);
    f.GroupBox2->RzGroupBox4->setEnabled(false);
    f.N112->setEnabled(false);
    f.N6->setEnabled(false);
    f.N1->setEnabled(false);
    f.RzGroupBox16->move(208, 232);
    f.RzGroupBox16->show();
    f.RzGroupBox16->raise();
  } else {
    // 9. Ask for the active group and arm the connect watchdogs.
    s.RxHex.clear();
    app_.TxFrame.clear();
    app_.Transmit(QueryCurrentBlock(s.DeviceIndex));
    app_.timers[TimerId::chcon].SetEnabled(true);
    app_.timers[TimerId::chcon112].SetEnabled(true);
    app_.timers[TimerId::chcon188].SetEnabled(true);
  }
  // 10.
  if (app_.PortNumber != 0) {
    f.StatusPanel0->setText(Ui(T.StatusConnected) + f.GroupBox2->RzComboBox1->currentText());
    f.GroupBox2->Button3->setText(Ui(T.Button3Connected));
  }
}

void ConnectionController::DisconnectLink() {
  TForm1& f = app_.form;
  f.RzGroupBox1->hide();
  app_.EnableEditing();
  f.GroupBox2->RzComboBox6->setEnabled(true);
  f.GroupBox2->RzComboBox1->setEnabled(true);
  // The menus a broadcast connection switched off come back with the disconnect.
  f.N1->setEnabled(true);
  f.N112->setEnabled(true);
  f.N6->setEnabled(true);
  app_.timers[TimerId::Timer1].SetEnabled(false);
  app_.timers[TimerId::intimer].SetEnabled(false);
  app_.timers[TimerId::sendTimer].SetEnabled(false);
  app_.TxFrame.clear();
  RefreshComMenu();
  app_.PortNumber = -1;
  WaitWithMessages(50);
  app_.CloseSerialPort();
  app_.session.LinkOpen = false;
  // Nothing of this link may act on the next one: a reply handled during the wait can have switched the poll on
  // again, a send or its resume can be due, and an unfinished handshake has its watchdogs armed.
  for (TimerId id : {TimerId::Timer1, TimerId::intimer, TimerId::sendTimer, TimerId::Timer7, TimerId::Timer4,
                     TimerId::chcon, TimerId::chcon112, TimerId::chcon188})
    app_.timers[id].SetEnabled(false);
  app_.session.CurrentSlot = 0;
  f.StatusPanel0->setText(Ui(Texts().StatusDisconnected));
}

void ConnectionController::Disconnect() {
  TForm1& f = app_.form;
  f.RzGroupBox16->hide();
  f.GroupBox2->RzGroupBox4->setEnabled(true);
  DisconnectLink();
  f.GroupBox2->Button3->setText(Ui(Texts().Button3Design));
}

void ConnectionController::N8Click() {
  // The same as a disconnect, except that the initial-data box, the group box and the caption stay as they are.
  TForm1& f = app_.form;
  const bool groups = f.GroupBox2->RzGroupBox4->isEnabled();
  DisconnectLink();
  f.GroupBox2->RzGroupBox4->setEnabled(groups);
}

void ConnectionController::LostLink(int stage) {
  TimerSet& t = app_.timers;
  if (stage <= 0) t[TimerId::chcon].SetEnabled(false);
  if (stage <= 1) t[TimerId::chcon112].SetEnabled(false);
  t[TimerId::chcon188].SetEnabled(false);
  // The button acts on its caption: a watchdog of a link that is already down must not connect again.
  if (!Connected()) return;
  Button3Click();
  app_.ShowWarning();
}

void ConnectionController::intimerTimer() {
  app_.timers[TimerId::intimer].SetEnabled(false);
  if (app_.session.DeviceIndex == kBroadcastIndex || !Connected()) return;
  Button3Click();
  app_.ShowWarning();
}

void ConnectionController::Timer6Timer() {
  app_.timers[TimerId::Timer6].SetEnabled(false);
  app_.form.GroupBox2->Button3->setEnabled(true);
}

void ConnectionController::Timer13Timer() {
  TForm1& f = app_.form;
  const QPixmap& lamp = app_.session.LinkOpen ? f.LampOnBitmap : f.LampOffBitmap;
  f.GroupBox2->Image15->setPixmap(lamp.copy(0, 0, 25, 25));
}

void ConnectionController::RefreshComMenu() {
  TForm1& f = app_.form;
  QComboBox* list = f.GroupBox2->RzComboBox1;
  for (int i = 0; i < list->count() && i < static_cast<int>(f.ComItems.size()); ++i) {
    QAction* item = f.ComItems[static_cast<std::size_t>(i)];
    item->setText(list->itemText(i));
    item->setVisible(true);
  }
}

void ConnectionController::ComItemClick(int k) {
  if (k < 1 || static_cast<std::size_t>(k) > app_.PortNumbers.size()) return;
  const int n = app_.PortNumbers[static_cast<std::size_t>(k - 1)];
  if (n == app_.PortNumber) return;
  app_.PortNumber = n;
  if (n == 0) return;
  TForm1& f = app_.form;
  const QString entry = f.GroupBox2->RzComboBox1->itemText(k - 1);
  f.ComItems[static_cast<std::size_t>(k - 1)]->setText(QStringLiteral("\u221A") + entry);
  f.StatusPanel0->setText(Ui(Texts().StatusConnected) + entry);
}

void ConnectionController::refurbishTimer() {
  // A search keeps its port list for the whole sweep.
  if (app_.session.LinkOpen || app_.session.SearchRunning) return;
  TForm1& f = app_.form;
  QComboBox* fresh = f.GroupBox2->RzComboBox7;
  const QStringList ports = app_.ListPorts();
  fresh->clear();
  fresh->addItems(ports);
  QComboBox* list = f.GroupBox2->RzComboBox1;
  bool same = fresh->count() == list->count();
  for (int i = 0; same && i < list->count(); ++i) same = fresh->itemText(i) == list->itemText(i);
  if (!same) app_.BuildPortList();
}

void ConnectionController::brocar1Timer() {
  // A search opens its ports itself and notices one that fails.
  if (!app_.session.LinkOpen || app_.UseHid || app_.session.SearchRunning) return;
  if (app_.PortPresent(app_.form.GroupBox2->RzComboBox1->currentText())) return;
  PortVanished();
}

void ConnectionController::PortVanished() {
  if (!app_.session.LinkOpen || app_.UseHid) return;
  if (app_.session.SearchRunning) {
    // A port that goes away during a search is closed; the search goes on with the next one.
    app_.CloseSerialPort();
    return;
  }
  if (Connected()) Button3Click();
  else DisconnectLink();
  app_.dialogs.Message(Ui(Texts().NoPort));
}

}  // namespace k7310
