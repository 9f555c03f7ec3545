// The main window's layout and its panel framework, offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QFontInfo>
#include <QMenuBar>

#include <functional>
#include <memory>

#include "app/kit/button_color.h"
#include "eq/ui/response_graph.h"
#include "app/form1.h"
#include "app/form4.h"
#include "app/form_disconnected.h"
#include "tests/e2e/scripted_dialogs.h"

namespace k7310 {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "test_window";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}

class HideCounter : public QObject {
 public:
  explicit HideCounter(QWidget* watched) { watched->installEventFilter(this); }
  int hides = 0;
  int shows = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Hide) ++hides;
    if (e->type() == QEvent::Show) ++shows;
    return false;
  }
};

class WindowTest : public ::testing::Test {
 protected:
  WindowTest() {
    App();
    form = std::make_unique<TForm1>(dialogs);
    form->show();
    // What the end of the start-up search shows.
    form->GroupBox1->show();
    form->GroupBox2->show();
    form->GroupBox3->show();
    form->RzGroupBox3->hide();
  }
  ~WindowTest() override { dialogs.Verify(); }

  QPushButton* Button(const char* name) {
    auto* b = form->findChild<QPushButton*>(QString::fromLatin1(name));
    EXPECT_NE(b, nullptr) << name;
    return b;
  }

  test::ScriptedDialogs dialogs;
  std::unique_ptr<TForm1> form;
};

TEST_F(WindowTest, SizeCaptionFontAndStartState) {
  EXPECT_EQ(form->size(), QSize(750, 753));
  EXPECT_EQ(form->minimumSize(), form->maximumSize());
  EXPECT_EQ(form->windowTitle(), QStringLiteral("K_7310 V1.2.7_H"));
  // The design font where it exists; here its stand-in, at the 11 pixels of 8 pt at 96 dpi, in every control.
  EXPECT_EQ(form->font().family(), QStringLiteral("MS Sans Serif"));
  for (const QWidget* w : {static_cast<const QWidget*>(form.get()), static_cast<const QWidget*>(form->GroupBox3->Button6),
                           static_cast<const QWidget*>(form->RzGroupBox8->RzLabel89)}) {
    const QFontInfo used(w->font());
    EXPECT_EQ(used.family(), QStringLiteral("Liberation Sans")) << w->objectName().toStdString();
    EXPECT_EQ(used.pixelSize(), 11) << w->objectName().toStdString();
  }

  // A fresh window shows only the ID check box, with the menus File and Help hidden.
  TForm1 fresh(dialogs);
  fresh.show();
  EXPECT_FALSE(fresh.GroupBox1->isVisible());
  EXPECT_FALSE(fresh.GroupBox2->isVisible());
  EXPECT_FALSE(fresh.GroupBox3->isVisible());
  EXPECT_TRUE(fresh.RzGroupBox3->isVisible());
  EXPECT_EQ(fresh.RzGroupBox3->RzProgressBar2->value(), 0);
  EXPECT_FALSE(fresh.N112->isVisible());
  EXPECT_FALSE(fresh.N6->isVisible());
  EXPECT_FALSE(fresh.RzGroupBox8->isVisible());
  EXPECT_EQ(fresh.Panels.PanelKind, Panel::kNone);
  EXPECT_EQ(fresh.Panels.SelectedChannel, -1);
  EXPECT_FALSE(fresh.Panels.KeepEqBox);

  struct Place {
    QWidget* w;
    QRect r;
  } places[] = {
      {fresh.GroupBox2, {7, 2, 600, 95}},    {fresh.GroupBox3, {611, 2, 122, 228}},
      {fresh.GroupBox1, {7, 98, 600, 132}},  {fresh.RzGroupBox8, {7, 232, 727, 445}},
      {fresh.RzGroupBox5, {0, 0, 165, 254}}, {fresh.RzGroupBox6, {0, 0, 167, 221}},
      {fresh.RzGroupBox7, {0, 0, 166, 216}}, {fresh.RzGroupBox8->Image5, {0, 0, 720, 249}},
      {fresh.RzGroupBox8->Panel2, {3, 191, 720, 249}}, {fresh.GroupBox2->Image15, {106, 54, 25, 25}},
  };
  for (const Place& p : places) {
    if (p.r.x() == 0 && p.r.y() == 0 && p.w->parentWidget() == fresh.Client) {
      EXPECT_EQ(p.w->size(), p.r.size()) << p.w->objectName().toStdString();
    } else {
      EXPECT_EQ(p.w->geometry(), p.r) << p.w->objectName().toStdString();
    }
  }
  EXPECT_EQ(fresh.RzGroupBox1->pos(), QPoint(208, 504));
  EXPECT_EQ(fresh.RzGroupBox2->pos(), QPoint(7, 232));
  EXPECT_EQ(fresh.RzGroupBox3->pos(), QPoint(176, 232));
}

TEST_F(WindowTest, DesignerNamesAreObjectNames) {
  const char* names[] = {
      "GroupBox1", "GroupBox2", "GroupBox3", "RzGroupBox1", "RzGroupBox2", "RzGroupBox3", "RzGroupBox4",
      "RzGroupBox5", "RzGroupBox6", "RzGroupBox7", "RzGroupBox8", "RzGroupBox9", "RzGroupBox10", "RzGroupBox11",
      "RzGroupBox12", "RzGroupBox13", "RzGroupBox15", "RzGroupBox16", "RzGroupBox35", "RzGroupBox36", "rzgrpbx_btl",
      "RzComboBox1", "RzComboBox6", "RzComboBox7", "RzComboBox8", "Button3", "Image15", "RzButton8", "RzLabel11",
      "RzEdit2", "Button1", "RzLabel7", "RzLabel75", "RzComboBox10", "RzComboBox11", "RzEdit1", "RzButton9",
      "RzButton10", "RzLabel14", "SpeedButton2", "Button8", "Button9", "Button6", "Button7", "Button4", "Button5",
      "RzLabel28", "RzLabel29", "RzLabel31", "RzLabel32", "RzLabel10", "RzLabel13", "RzLabel1", "RzLabel24",
      "RzLabel25", "RzLabel8", "Image1", "Image6", "Image7", "TrackBar1", "Label1", "RzButton4", "RzButton5",
      "RzButton6", "RzButton46", "RzButton45", "RzButton41", "RzButton43", "RzButton44", "RzButton1", "RzButton11",
      "RzButton52", "RzButton51", "RzButton47", "RzButton49", "RzButton50", "RzButton2", "RzButton7", "RzButton58",
      "RzButton57", "RzButton53", "RzButton55", "RzButton56", "RzButton3", "RzButton98", "Image5", "Panel2",
      "RzLabel18", "RzLabel19", "RzLabel89", "RzLabel90", "RzLabel91", "RzLabel92", "RzLabel95", "RzLabel96",
      "RzEdit205", "RzEdit206", "RzSpinButtons181", "RzSpinButtons182", "RzComboBox69", "RzComboBox71", "RzEdit94",
      "RzEdit95", "RzEdit96", "RzEdit97", "RzEdit98", "RzEdit111", "RzEdit99", "RzEdit102", "RzEdit103",
      "RzEdit104", "RzEdit105", "RzEdit112", "RzEdit106", "RzEdit107", "RzEdit108", "RzEdit109", "RzEdit110",
      "RzEdit113", "RzSpinButtons82", "RzSpinButtons87", "RzSpinButtons75", "RzSpinButtons88", "RzSpinButtons70",
      "RzSpinButtons89", "RzComboBox66", "RzComboBox67", "RzComboBox72", "RzComboBox73", "RzComboBox74",
      "RzComboBox75", "RzButton97", "SpeedButton22", "RzLabel2", "Image2", "RzEdit17", "SpinButton1",
      "SpeedButton17", "RzLabel4", "RzEdit18", "RzLabel3", "RzLabel20", "ScrollBar1", "SpeedButton18", "RzLabel5",
      "RzLabel15", "RzLabel16", "RzLabel17", "RzLabel21", "RzComboBox2", "RzComboBox3", "RzComboBox4",
      "RzComboBox5", "SpeedButton21", "RzLabel6", "Memo1", "SpeedButton1", "RzLabel9", "RzProgressBar2", "Button2",
      "RzLabel33", "RzLabel34", "RzComboBox9", "SpeedButton4", "RzLabel46", "RzProgressBar1", "RzLabel22",
      "SpeedButton3", "RzLabel26", "RzLabel23", "RzEdit3", "Button10", "RzLabel27", "Button11", "btn_btl0",
      "btn_btl1", "btn_btl2", "btn_btl3", "btn1", "StatusBar1", "StatusPanel0", "N112", "N10", "N6", "N9", "BTL1",
      "N1", "N5", "N7", "N8", "N12", "ID1", "N14", "Com1", "COM2", "COM40", "DevListBox", "HistoryListBox",
      "lbl_usbhid",
  };
  for (const char* name : names) {
    EXPECT_EQ(form->findChildren<QObject*>(QString::fromLatin1(name)).size(), 1) << name;
  }
}

TEST_F(WindowTest, DesignTextsAndLists) {
  struct Text {
    const char* name;
    const char* text;
  } texts[] = {
      {"Button3", "Disconnect"}, {"RzButton8", "Broadcast\nMode"}, {"Button1", "OK"},
      {"RzLabel29", "10 °C"},    {"RzLabel32", "0 dB"},            {"RzLabel6", "search result:none     "},
      {"RzButton5", "Main delay"}, {"RzButton11", "Temp set"},     {"RzLabel24", " Mid   "},
      {"Button2", "Cancel"},     {"StatusPanel0", "Disconnect"},   {"RzLabel14", "The last load group:    "},
      {"RzLabel89", "  Frequency "}, {"btn_btl3", "High-Mid BTL-One Ch Mode"},
  };
  for (const Text& t : texts) {
    QObject* o = form->findChild<QObject*>(QString::fromLatin1(t.name));
    ASSERT_NE(o, nullptr) << t.name;
    EXPECT_EQ(o->property("text").toString().toStdString(), t.text) << t.name;
  }
  const QComboBox* temp = form->RzGroupBox13->RzComboBox9;
  ASSERT_EQ(temp->count(), 31);
  EXPECT_EQ(temp->itemText(0), QString::fromUtf8(">=70 °C"));
  EXPECT_EQ(temp->itemText(10), QString::fromUtf8("50 °C"));
  EXPECT_EQ(temp->itemText(30), QString::fromUtf8("10 °C"));
  EXPECT_EQ(temp->currentIndex(), 30);
  const QComboBox* ids = form->GroupBox2->RzComboBox6;
  ASSERT_EQ(ids->count(), 255);
  EXPECT_EQ(ids->itemText(16), QStringLiteral("17"));
  EXPECT_EQ(form->GroupBox2->RzComboBox1->font().family(), QStringLiteral("Times New Roman"));
  EXPECT_EQ(QFontInfo(form->GroupBox2->RzComboBox1->font()).family(), QStringLiteral("Liberation Serif"));
  EXPECT_EQ(form->GroupBox1->TrackBar1->maximum(), 301);
  EXPECT_EQ(form->RzGroupBox6->ScrollBar1->maximum(), 412);
  EXPECT_EQ(form->RzGroupBox7->RzComboBox2->itemText(19), QStringLiteral("0dBu"));
  EXPECT_TRUE(form->RzGroupBox2->Memo1->isReadOnly());
  EXPECT_EQ(form->GroupBox2->RzGroupBox4->RzEdit1->maxLength(), 19);
  EXPECT_EQ(form->StatusPanel0->width(), 200);
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(form->ComItems[i]->text(), QStringLiteral("  COM%1").arg(i + 1));
    EXPECT_FALSE(form->ComItems[i]->isVisible());
  }
  EXPECT_FALSE(form->BTL1->isVisible());
  for (QAction* hidden : {form->N1, form->N5, form->N11, form->N15}) EXPECT_FALSE(hidden->isVisible());
  // The band number labels carry the band colours.
  EXPECT_EQ(form->RzGroupBox8->Bands[1].number->palette().color(QPalette::Window), QColor(255, 0, 0));
  EXPECT_EQ(form->RzGroupBox8->Bands[5].number->geometry().topLeft(), QPoint(36, 23 + 5 * 23));
  EXPECT_EQ(form->RzGroupBox8->RzEdit111->geometry(), QRect(76, 135, 60, 21));
  EXPECT_EQ(form->RzGroupBox8->RzButton97->pos(), QPoint(416, 70));
  EXPECT_EQ(form->RzGroupBox8->SpeedButton22->pos(), QPoint(447, 3));
}

TEST_F(WindowTest, GainOfTheOpenChannelRefillsAndStaysOpen) {
  int fills = 0;
  form->Panels.SetFill(Panel::kGain, [&](int c) {
    EXPECT_EQ(c, 0);
    ++fills;
  });
  HideCounter watch(form->RzGroupBox5);
  Button("RzButton45")->click();
  Button("RzButton45")->click();
  EXPECT_EQ(fills, 2);
  EXPECT_EQ(watch.hides, 0);
  EXPECT_TRUE(form->RzGroupBox5->isVisible());
  EXPECT_EQ(form->Panels.PanelKind, Panel::kGain);
  EXPECT_EQ(form->Panels.SelectedChannel, 0);
  EXPECT_EQ(ButtonColor(Button("RzButton45")), kButtonOpen);
  EXPECT_EQ(form->RzGroupBox5->RzLabel2->text(), QStringLiteral("High--Gain"));
}

TEST_F(WindowTest, AnotherChannelClosesThePanelAndRepaintsItsButton) {
  Button("RzButton45")->click();
  HideCounter watch(form->RzGroupBox5);
  Button("RzButton51")->click();
  EXPECT_EQ(watch.hides, 1);
  EXPECT_TRUE(form->RzGroupBox5->isVisible());
  EXPECT_EQ(ButtonColor(Button("RzButton45")), kButtonNormal);
  EXPECT_EQ(ButtonColor(Button("RzButton51")), kButtonOpen);
  EXPECT_EQ(form->Panels.SelectedChannel, 1);
  EXPECT_EQ(form->RzGroupBox5->RzLabel2->text(), QStringLiteral("Mid--Gain"));

  // Another kind of panel closes the gain panel too.
  Button("RzButton49")->click();
  EXPECT_FALSE(form->RzGroupBox5->isVisible());
  EXPECT_TRUE(form->RzGroupBox7->isVisible());
  EXPECT_EQ(ButtonColor(Button("RzButton51")), kButtonNormal);
}

TEST_F(WindowTest, SwitchingEqChannelsNeverHidesTheEqBox) {
  Button("RzButton41")->click();
  ASSERT_TRUE(form->RzGroupBox8->isVisible());
  HideCounter watch(form->RzGroupBox8);
  for (const char* name : {"RzButton47", "RzButton53", "RzButton4", "RzButton41"}) Button(name)->click();
  EXPECT_EQ(watch.hides, 0);
  EXPECT_TRUE(form->RzGroupBox8->isVisible());
  EXPECT_FALSE(form->Panels.KeepEqBox);
  EXPECT_EQ(form->RzGroupBox8->RzLabel19->text(), QStringLiteral("High--EQ"));
  EXPECT_EQ(ButtonColor(Button("RzButton4")), kButtonNormal);
  EXPECT_EQ(ButtonColor(Button("RzButton41")), kButtonOpen);

  Button("RzButton4")->click();
  EXPECT_EQ(form->RzGroupBox8->RzLabel19->text(), QStringLiteral("Main--EQ"));
  EXPECT_EQ(form->RzGroupBox8->RzLabel18->text(), QStringLiteral("Main--H/LPF"));
  // Leaving EQ for another kind of panel does hide the box.
  Button("RzButton45")->click();
  EXPECT_EQ(watch.hides, 1);
  EXPECT_FALSE(form->RzGroupBox8->isVisible());
}

TEST_F(WindowTest, OnlyEqAndGainHideTheBtlBox) {
  struct Case {
    const char* button;
    bool btlStays;
  } cases[] = {
      {"RzButton43", true},  {"RzButton44", true},  {"RzButton5", true}, {"RzButton11", true},
      {"RzButton45", false}, {"RzButton41", false}, {"RzButton4", false},
  };
  for (const Case& c : cases) {
    form->rzgrpbx_btl->show();
    Button(c.button)->click();
    EXPECT_EQ(form->rzgrpbx_btl->isVisible(), c.btlStays) << c.button;
  }
}

TEST_F(WindowTest, PanelsBesideTheirButtonsWithTheirTitles) {
  struct Case {
    const char* button;
    QWidget* panel;
    QLabel* title;
    const char* text;
  } cases[] = {
      {"RzButton45", form->RzGroupBox5, form->RzGroupBox5->RzLabel2, "High--Gain"},
      {"RzButton51", form->RzGroupBox5, form->RzGroupBox5->RzLabel2, "Mid--Gain"},
      {"RzButton57", form->RzGroupBox5, form->RzGroupBox5->RzLabel2, "Low--Gain"},
      {"RzButton43", form->RzGroupBox7, form->RzGroupBox7->RzLabel5, "High--Limiter"},
      {"RzButton49", form->RzGroupBox7, form->RzGroupBox7->RzLabel5, "Mid--Limiter"},
      {"RzButton55", form->RzGroupBox7, form->RzGroupBox7->RzLabel5, "Low--Limiter"},
      {"RzButton44", form->RzGroupBox6, form->RzGroupBox6->RzLabel4, "High--Delay"},
      {"RzButton50", form->RzGroupBox6, form->RzGroupBox6->RzLabel4, "Mid--Delay"},
      {"RzButton56", form->RzGroupBox6, form->RzGroupBox6->RzLabel4, "Low--Delay"},
      {"RzButton5", form->RzGroupBox6, form->RzGroupBox6->RzLabel4, "Mian--Delay"},
  };
  const QWidget* strip = form->GroupBox1;
  for (const Case& c : cases) {
    QPushButton* b = Button(c.button);
    b->click();
    EXPECT_TRUE(c.panel->isVisible()) << c.button;
    EXPECT_EQ(c.panel->pos(), QPoint(strip->x() + b->x() + b->width(), strip->y() + b->y() + b->height()))
        << c.button;
    EXPECT_EQ(c.title->text().toStdString(), c.text);
  }
  // High gain: 98 + 41 + 25 below the window top, 7 + 160 + 64 from its left.
  Button("RzButton45")->click();
  EXPECT_EQ(form->RzGroupBox5->pos(), QPoint(231, 164));

  Button("RzButton11")->click();
  EXPECT_EQ(form->RzGroupBox13->pos(), QPoint(7, 232));
  EXPECT_EQ(form->Panels.PanelKind, Panel::kTemperature);
  EXPECT_EQ(form->Panels.SelectedChannel, 0);
}

TEST_F(WindowTest, ClosePanelHidesAndRepaintsByKindAndChannel) {
  struct Case {
    const char* button;
    QWidget* panel;
    Panel kind;
    int channel;
  } cases[] = {
      {"RzButton41", form->RzGroupBox8, Panel::kEq, 0},      {"RzButton47", form->RzGroupBox8, Panel::kEq, 1},
      {"RzButton53", form->RzGroupBox8, Panel::kEq, 2},      {"RzButton4", form->RzGroupBox8, Panel::kEq, 3},
      {"RzButton43", form->RzGroupBox7, Panel::kLimiter, 0}, {"RzButton49", form->RzGroupBox7, Panel::kLimiter, 1},
      {"RzButton55", form->RzGroupBox7, Panel::kLimiter, 2}, {"RzButton44", form->RzGroupBox6, Panel::kDelay, 0},
      {"RzButton50", form->RzGroupBox6, Panel::kDelay, 1},   {"RzButton56", form->RzGroupBox6, Panel::kDelay, 2},
      {"RzButton5", form->RzGroupBox6, Panel::kDelay, 3},    {"RzButton45", form->RzGroupBox5, Panel::kGain, 0},
      {"RzButton51", form->RzGroupBox5, Panel::kGain, 1},    {"RzButton57", form->RzGroupBox5, Panel::kGain, 2},
      {"RzButton11", form->RzGroupBox13, Panel::kTemperature, 0},
  };
  for (const Case& c : cases) {
    Button(c.button)->click();
    EXPECT_EQ(form->Panels.PanelKind, c.kind) << c.button;
    EXPECT_EQ(form->Panels.SelectedChannel, c.channel) << c.button;
    EXPECT_EQ(ButtonColor(Button(c.button)), kButtonOpen) << c.button;
    form->Panels.ClosePanel();
    EXPECT_FALSE(c.panel->isVisible()) << c.button;
    EXPECT_EQ(ButtonColor(Button(c.button)), kButtonNormal) << c.button;
    EXPECT_EQ(form->Panels.PanelKind, Panel::kNone);
    EXPECT_EQ(form->Panels.SelectedChannel, -1);
  }
  // With KeepEqBox set the EQ box stays, and the flag is cleared afterwards.
  Button("RzButton47")->click();
  form->Panels.KeepEqBox = true;
  form->Panels.ClosePanel();
  EXPECT_TRUE(form->RzGroupBox8->isVisible());
  EXPECT_FALSE(form->Panels.KeepEqBox);
  EXPECT_EQ(ButtonColor(Button("RzButton47")), kButtonNormal);
}

TEST_F(WindowTest, CornerButtonsClearKeepEqBoxAndClose) {
  struct Case {
    const char* opener;
    QToolButton* corner;
    QWidget* panel;
  } cases[] = {
      {"RzButton57", form->RzGroupBox5->SpeedButton17, form->RzGroupBox5},
      {"RzButton5", form->RzGroupBox6->SpeedButton18, form->RzGroupBox6},
      {"RzButton55", form->RzGroupBox7->SpeedButton21, form->RzGroupBox7},
      {"RzButton11", form->RzGroupBox13->SpeedButton4, form->RzGroupBox13},
      {"RzButton53", form->RzGroupBox8->SpeedButton22, form->RzGroupBox8},
  };
  for (const Case& c : cases) {
    Button(c.opener)->click();
    form->Panels.KeepEqBox = true;
    c.corner->click();
    EXPECT_FALSE(c.panel->isVisible()) << c.opener;
    EXPECT_EQ(ButtonColor(Button(c.opener)), kButtonNormal) << c.opener;
    EXPECT_EQ(form->Panels.PanelKind, Panel::kNone) << c.opener;
  }

  // The search result box keeps SelectedChannel when it opens, and closes from its corner.
  Button("RzButton51")->click();
  form->Panels.ShowSearchResult();
  EXPECT_FALSE(form->RzGroupBox5->isVisible());
  EXPECT_TRUE(form->RzGroupBox2->isVisible());
  EXPECT_EQ(form->Panels.PanelKind, Panel::kSearchResult);
  form->RzGroupBox2->SpeedButton1->click();
  EXPECT_FALSE(form->RzGroupBox2->isVisible());

  // The BTL box closes from btn1, closing the open panel as well.
  Button("RzButton43")->click();
  form->rzgrpbx_btl->show();
  form->rzgrpbx_btl->btn1->click();
  EXPECT_FALSE(form->rzgrpbx_btl->isVisible());
  EXPECT_FALSE(form->RzGroupBox7->isVisible());
}

TEST_F(WindowTest, VersionMessageAndExit) {
  dialogs.ExpectMessage(QStringLiteral("API for Version K_7310 V1.2.7H"));
  form->N9->trigger();
  EXPECT_FALSE(dialogs.Pending());
  form->N10->trigger();
  EXPECT_FALSE(form->isVisible());
}

TEST(SecondaryWindows, DisconnectedWarningAndBtlPicture) {
  App();
  test::ScriptedDialogs dialogs;  // nothing is asked
  TForm1 main(dialogs);
  main.show();
  TForm_Disconnected warning(&main);
  EXPECT_EQ(warning.windowTitle(), QStringLiteral("Wanrnning"));
  EXPECT_EQ(warning.size(), QSize(309, 103));
  EXPECT_EQ(warning.lbl1->text(), QStringLiteral("Connection has been disconnedted!!"));
  EXPECT_EQ(warning.lbl1->font().family(), QStringLiteral("Cambria"));
  EXPECT_EQ(warning.lbl1->font().pixelSize(), 16);
  // Cambria's metric twin where Cambria is missing; the label keeps inside the window.
  EXPECT_EQ(QFontInfo(warning.lbl1->font()).family(), QStringLiteral("Caladea"));
  EXPECT_LE(warning.lbl1->geometry().right(), warning.width());
  EXPECT_EQ(warning.lbl1->pos(), QPoint(24, 16));
  EXPECT_EQ(warning.btn1->text(), QStringLiteral("OK"));
  EXPECT_FALSE(warning.isVisible());
  warning.ShowCentredOn(&main);
  EXPECT_TRUE(warning.isVisible());
  EXPECT_FALSE(warning.isModal());
  EXPECT_LE((warning.frameGeometry().center() - main.frameGeometry().center()).manhattanLength(), 2)
      << warning.frameGeometry().x() << "," << warning.frameGeometry().y() << " " << main.frameGeometry().x() << ","
      << main.frameGeometry().y() << " " << main.frameGeometry().width() << "x" << main.frameGeometry().height();
  warning.btn1->click();
  EXPECT_FALSE(warning.isVisible());

  TForm4 btl;
  EXPECT_EQ(btl.windowTitle(), QStringLiteral("BTL Mode"));
  EXPECT_EQ(btl.size(), QSize(722, 158));
  EXPECT_EQ(btl.WiringImage->pixmap().size(), QSize(713, 157));
  EXPECT_EQ(main.LampOffBitmap.size(), QSize(25, 25));
  EXPECT_EQ(main.LampOnBitmap.size(), QSize(41, 41));
  EXPECT_EQ(main.FaderBackBitmap.size(), QSize(163, 250));
  EXPECT_EQ(main.FaderKnobBitmap.size(), QSize(12, 13));
  EXPECT_EQ(main.FaderKnobHotBitmap.size(), QSize(12, 13));
  for (const QPixmap& icon : main.BtlIcons) EXPECT_EQ(icon.size(), QSize(41, 41));
}

}  // namespace
}  // namespace k7310

namespace k7310 {
namespace {

// The hidden USB history: each new line is selected, the scroll range is the widest line so far plus 16 pixels, and
// only the latest lines are kept.
TEST(HistoryList, SelectsEachLineWidensToTheWidestAndKeepsTheLatest) {
  App();
  HistoryList list(nullptr);
  EXPECT_TRUE(QFontInfo(list.font()).fixedPitch());
  const QString wide = QStringLiteral("W 00  ") + QStringLiteral("A5 ").repeated(64);
  list.AddToHistory(QStringLiteral("Arrival of DEVADUVORARAZ01 (Serial=0000002)"));
  list.AddToHistory(wide);
  list.AddToHistory(QStringLiteral("short"));
  EXPECT_EQ(list.currentRow(), 2);
  EXPECT_EQ(list.ScrollWidth(), list.fontMetrics().horizontalAdvance(wide) + 16);
  for (int i = 0; i < HistoryList::kHistoryLines; ++i) list.AddToHistory(QStringLiteral("line %1").arg(i));
  EXPECT_EQ(list.count(), HistoryList::kHistoryLines);
  EXPECT_EQ(list.item(0)->text(), QStringLiteral("line 0"));
  EXPECT_EQ(list.currentItem()->text(), QStringLiteral("line %1").arg(HistoryList::kHistoryLines - 1));
  EXPECT_EQ(list.ScrollWidth(), list.fontMetrics().horizontalAdvance(wide) + 16);
}

}  // namespace
}  // namespace k7310
