#include "app/form1.h"

#include <QFont>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>

#include "app/kit/dialogs.h"
#include "app/kit/pictures.h"
#include "app/kit/ui_text.h"
#include "texts/texts.h"

namespace k7310 {
namespace {

// The window font must be set before the first control is made: labels take their size from it.
QWidget* MakeClient(QMainWindow* window) {
  window->setFont(TForm1::WindowFont());
  auto* client = new QWidget(window);
  client->setObjectName(QStringLiteral("Client"));
  return client;
}

QAction* AddItem(QMenu* menu, const char* name, const std::string& text) {
  QAction* action = menu->addAction(Ui(text));
  action->setObjectName(QString::fromLatin1(name));
  return action;
}

QMenu* AddMenu(QMenuBar* bar, const char* name, const std::string& text) {
  QMenu* menu = bar->addMenu(Ui(text));
  menu->menuAction()->setObjectName(QString::fromLatin1(name));
  return menu;
}

QMenu* AddSubMenu(QMenu* parent, const char* name, const std::string& text) {
  QMenu* menu = parent->addMenu(Ui(text));
  menu->menuAction()->setObjectName(QString::fromLatin1(name));
  return menu;
}

}  // namespace

TForm1::TForm1(Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent),
      Client(MakeClient(this)),
      GroupBox2(new TopBar(Client)),
      GroupBox3(new ToolsColumn(Client)),
      GroupBox1(new ChannelStrip(Client)),
      RzGroupBox8(new EqBox(Client)),
      RzGroupBox2(new SearchResultBox(Client)),
      RzGroupBox3(new SearchProgressBox(Client)),
      RzGroupBox13(new TemperaturePanel(Client)),
      RzGroupBox1(new ProgressBox(Client)),
      RzGroupBox5(new GainPanel(Client)),
      RzGroupBox6(new DelayPanel(Client)),
      RzGroupBox7(new LimiterPanel(Client)),
      RzGroupBox16(new InitialDataBox(Client)),
      rzgrpbx_btl(new BtlBox(Client)),
      RzGroupBox12(new QWidget(Client)),
      DevListBox(new QListWidget(Client)),
      HistoryListBox(new HistoryList(Client)),
      lbl_usbhid(new QLabel(Client)),
      dialogs_(dialogs) {
  const UiTexts& t = Texts();
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(Ui(t.MainCaption));
  setCentralWidget(Client);
  RzGroupBox12->setObjectName(QStringLiteral("RzGroupBox12"));
  RzGroupBox12->setGeometry(0, 0, 0, 0);
  RzGroupBox12->hide();
  DevListBox->setObjectName(QStringLiteral("DevListBox"));
  HistoryListBox->setObjectName(QStringLiteral("HistoryListBox"));
  lbl_usbhid->setObjectName(QStringLiteral("lbl_usbhid"));
  lbl_usbhid->setText(Ui(t.LblUsbHid));
  for (QWidget* diagnostic : std::initializer_list<QWidget*>{DevListBox, HistoryListBox, lbl_usbhid}) diagnostic->hide();

  StatusBar1 = statusBar();
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  StatusPanel0 = new QLabel(Ui(t.StatusDesign), StatusBar1);
  StatusPanel0->setObjectName(QStringLiteral("StatusPanel0"));
  StatusPanel0->setFixedWidth(200);
  StatusBar1->addWidget(StatusPanel0);

  BuildMenus();
  regions = {GroupBox1, GroupBox2, GroupBox3, RzGroupBox8, RzGroupBox12, GroupBox2->RzGroupBox4, RzGroupBox1,
             N1, N112, N6};
  BuildPanelTable();
  StartUp();
}

void TForm1::BuildPanelTable() {
  const UiTexts& t = Texts();
  ChannelStrip& s = *GroupBox1;
  using Place = PanelRow::Place;
  auto outputs = [](const std::array<QPushButton*, 3>& b) { return std::array<QPushButton*, 4>{b[0], b[1], b[2], nullptr}; };
  Panels.SetStrip(GroupBox1);
  Panels.SetBtlBox(rzgrpbx_btl);
  auto row = [](Panel kind, QWidget* box, Place place) {
    PanelRow r;
    r.kind = kind;
    r.box = box;
    r.place = place;
    return r;
  };
  PanelRow eq = row(Panel::kEq, RzGroupBox8, Place::Area);
  eq.titles = {{RzGroupBox8->RzLabel19, &t.EqTitle}, {RzGroupBox8->RzLabel18, &t.CrossoverTitle}};
  eq.openers = s.EqButtons;
  eq.sharedByChannels = true;
  eq.hidesBtl = true;
  eq.onOpen = [this] { RzGroupBox8->RzGroupBox35->show(); };
  Panels.Add(eq);
  PanelRow limiter = row(Panel::kLimiter, RzGroupBox7, Place::BesideButton);
  limiter.titles = {{RzGroupBox7->RzLabel5, &t.LimiterTitle}};
  limiter.openers = outputs(s.LimiterButtons);
  Panels.Add(limiter);
  PanelRow delay = row(Panel::kDelay, RzGroupBox6, Place::BesideButton);
  delay.titles = {{RzGroupBox6->RzLabel4, &t.DelayTitle}};
  delay.openers = s.DelayButtons;
  Panels.Add(delay);
  PanelRow gain = row(Panel::kGain, RzGroupBox5, Place::BesideButton);
  gain.titles = {{RzGroupBox5->RzLabel2, &t.GainTitle}};
  gain.openers = outputs(s.GainButtons);
  gain.hidesBtl = true;
  Panels.Add(gain);
  Panels.Add(row(Panel::kSearchResult, RzGroupBox2, Place::Area));
  PanelRow temperature = row(Panel::kTemperature, RzGroupBox13, Place::Area);
  temperature.soleOpener = s.RzButton11;
  Panels.Add(temperature);
  Panels.WireButtons({RzGroupBox5->SpeedButton17, RzGroupBox6->SpeedButton18, RzGroupBox7->SpeedButton21,
                      RzGroupBox13->SpeedButton4, RzGroupBox8->SpeedButton22, RzGroupBox2->SpeedButton1,
                      GroupBox2->RzGroupBox4->SpeedButton2});
  connect(rzgrpbx_btl->btn1, &QToolButton::clicked, rzgrpbx_btl, [this] {
    Panels.CornerClose();
    rzgrpbx_btl->hide();
  });
}

QFont TForm1::WindowFont() {
  // The layout was made for "MS Sans Serif" 8 pt at 96 dpi, an 11-pixel font. Where it is missing, Liberation Sans
  // (Arial's metrics) at 11 pixels keeps every text inside its control. Pixels rather than points: the controls are
  // placed in pixels, so the texts must not grow with the screen's dpi.
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")});
  font.setPixelSize(11);
  return font;
}

void TForm1::BuildMenus() {
  const UiTexts& t = Texts();
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));

  // The menus that are never visible keep their place in the bar, hidden.
  QMenu* device = AddMenu(bar, "N1", t.N1);
  N1 = device->menuAction();
  N2 = AddItem(device, "N2", t.N2);
  N111 = AddItem(device, "N111", t.N111);
  N3 = AddItem(device, "N3", t.N3);
  N201 = AddItem(device, "N201", t.N201);
  N4 = AddItem(device, "N4", t.N4);

  QMenu* file = AddMenu(bar, "N112", t.N112);
  N112 = file->menuAction();
  N10 = AddItem(file, "N10", t.N10);

  QMenu* link = AddMenu(bar, "N5", t.N5);
  N5 = link->menuAction();
  QMenu* ports = AddSubMenu(link, "N7", t.N7);
  N7 = ports->menuAction();
  for (int i = 0; i < 40; ++i) {
    const QByteArray name = i == 0 ? QByteArray("Com1") : "COM" + QByteArray::number(i + 1);
    QAction* item = ports->addAction(QStringLiteral("  COM%1").arg(i + 1));
    item->setObjectName(QString::fromLatin1(name));
    item->setVisible(false);
    ComItems[i] = item;
  }
  QMenu* numbers = AddSubMenu(link, "N12", t.N12);
  N12 = numbers->menuAction();
  for (int i = 0; i < 38; ++i) {
    DeviceNumberItems[i] = numbers->addAction(i == 0 ? QString::fromUtf8("√1") : QString::number(i + 1));
  }
  N8 = AddItem(link, "N8", t.N8);

  QMenu* groups = AddMenu(bar, "N15", t.N15);
  N15 = groups->menuAction();
  N16 = AddItem(groups, "N16", t.N16);

  QMenu* search = AddMenu(bar, "N11", t.N11);
  N11 = search->menuAction();
  ID1 = AddItem(search, "ID1", t.ID1);
  N14 = AddItem(search, "N14", t.N14);

  QMenu* help = AddMenu(bar, "N6", t.N6);
  N6 = help->menuAction();
  N9 = AddItem(help, "N9", t.N9);
  BTL1 = AddItem(help, "BTL1", t.BTL1);
  BTL1->setVisible(false);

  for (QAction* hidden : {N1, N5, N15, N11}) hidden->setVisible(false);
  // With File and Help hidden (during the start-up sweep) the bar would have no height, and the client area would
  // jump down when they come back.
  bar->setMinimumHeight(bar->sizeHint().height());

  connect(N10, &QAction::triggered, this, [this] { N10Click(); });
  connect(N9, &QAction::triggered, this, [this] { N9Click(); });
}

void TForm1::StartUp() {
  // Only the ID check box shows until the start-up search has run.
  GroupBox2->hide();
  GroupBox3->hide();
  GroupBox1->hide();
  N112->setVisible(false);
  N6->setVisible(false);
  RzGroupBox3->RzProgressBar2->setValue(0);
  RzGroupBox3->show();
  for (QWidget* w : std::initializer_list<QWidget*>{RzGroupBox8, RzGroupBox2, RzGroupBox13, RzGroupBox1, RzGroupBox5,
                                                    RzGroupBox6, RzGroupBox7, RzGroupBox16, rzgrpbx_btl}) {
    w->hide();
  }

  Panels.PanelKind = Panel::kNone;
  Panels.SelectedChannel = -1;

  RzGroupBox1->move(208, 504);
  RzGroupBox2->move(kEditAreaX, kEditAreaY);
  RzGroupBox3->move(176, 232);
  RzGroupBox8->move(kEditAreaX, kEditAreaY);
  GroupBox1->move(7, 98);
  GroupBox2->move(7, 2);
  Panels.KeepEqBox = false;

  setFixedSize(kWidth, kHeight);

  FaderBackBitmap = FaderBackPicture();
  FaderKnobBitmap = FaderKnobPicture();
  FaderKnobHotBitmap = FaderKnobHotPicture();
  LampOffBitmap = LampOffPicture();
  LampOnBitmap = LampOnPicture();
  BtlIcons = {BtlNormalPicture(), BtlLowMidPicture(), BtlHighMidPicture()};
  QPixmap fader = FaderBackBitmap;
  {
    QPainter g(&fader);
    g.drawPixmap(73, 56, FaderKnobBitmap);
  }
  RzGroupBox5->Image2->setPixmap(fader);
  GroupBox2->Image15->setPixmap(LampOffBitmap);
  GroupBox1->Image1->setPixmap(BtlIcons[0]);

  // Panels cover what lies behind them.
  for (QWidget* w : std::initializer_list<QWidget*>{GroupBox1, GroupBox2, GroupBox3, RzGroupBox8, RzGroupBox2, RzGroupBox3,
                                                    RzGroupBox13, RzGroupBox1, RzGroupBox5, RzGroupBox6, RzGroupBox7,
                                                    RzGroupBox16, rzgrpbx_btl}) {
    w->setAutoFillBackground(true);
  }
  // Boxes that cover the editing area during transfers stand in front of the panels.
  RzGroupBox16->raise();
  RzGroupBox1->raise();
  RzGroupBox3->raise();

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

void TForm1::N10Click() { close(); }

void TForm1::N9Click() { dialogs_.Message(Ui(Texts().VersionMessage)); }

}  // namespace k7310
