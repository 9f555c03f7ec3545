// How the main window looks: every text fits its control in every panel, the strip's icons match, and the client
// area stays where it is when the menus come back after the start-up sweep.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>
#include <QToolButton>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/kit/ui_text.h"
#include "app/device_view.h"
#include "tests/e2e/scripted_dialogs.h"
#include "texts/texts.h"

namespace k7310 {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "test_window_looks";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}

// The widest line of a text in a font; every line of a multi-line caption has to fit.
int TextWidth(const QFont& font, const QString& text) {
  const QFontMetrics fm(font);
  int widest = 0;
  for (const QString& line : text.split(QLatin1Char('\n'))) widest = std::max(widest, fm.horizontalAdvance(line));
  return widest;
}

// Width left for the text inside a control: its size minus frame, border, padding and margins, as its style draws it.
int LabelRoom(const QLabel* l) {
  int indent = l->indent();
  if (indent < 0) indent = l->frameWidth() > 0 ? QFontMetrics(l->font()).horizontalAdvance(QLatin1Char('x')) / 2 : 0;
  return l->contentsRect().width() - 2 * l->margin() - indent;
}

int PushButtonRoom(const QPushButton* b) {
  QStyleOptionButton opt;
  opt.initFrom(b);
  opt.text = b->text();
  if (b->isFlat()) opt.features |= QStyleOptionButton::Flat;
  if (b->autoDefault()) opt.features |= QStyleOptionButton::AutoDefaultButton;
  if (b->isDefault()) opt.features |= QStyleOptionButton::DefaultButton;
  return b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b).width();
}

int ToolButtonRoom(const QToolButton* b) {
  return b->width() - 2 * b->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, b);
}

int ComboRoom(const QComboBox* c) {
  QStyleOptionComboBox opt;
  opt.initFrom(c);
  opt.editable = c->isEditable();
  opt.frame = c->hasFrame();
  const QRect field = c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c);
  return field.width() - 2;  // the label is drawn one pixel in from each side of the field
}

int LineEditRoom(const QLineEdit* e) {
  QStyleOptionFrame opt;
  opt.initFrom(e);
  opt.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e) : 0;
  const QRect r = e->style()->subElementRect(QStyle::SE_LineEditContents, &opt, e);
  const QMargins m = e->textMargins();
  return r.width() - m.left() - m.right() - 4;  // QLineEdit keeps two pixels free on each side
}

// The title starts where the style puts it and has to end before the box's right border.
int GroupTitleRoom(const QGroupBox* g) {
  QStyleOptionGroupBox opt;
  opt.initFrom(g);
  opt.text = g->title();
  opt.lineWidth = 1;
  opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
  opt.textAlignment = g->alignment();
  const QRect label = g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
  return g->width() - 1 - label.left();
}

struct Overflow {
  QString where;  // objectName, and the item for list entries
  QString text;
  int need;
  int room;
};

void CheckText(std::vector<Overflow>& out, const QWidget* w, const QString& where, const QString& text, int room) {
  if (text.isEmpty()) return;
  const int need = TextWidth(w->font(), text);
  if (need > room) out.push_back({where, text, need, room});
}

// The port lists show whatever the machine's device paths are; their contents are not the window's texts.
bool IsPortList(const QWidget* w) {
  static const QStringList names = {QStringLiteral("RzComboBox1"), QStringLiteral("RzComboBox7"),
                                    QStringLiteral("RzComboBox8")};
  return names.contains(w->objectName());
}

void CheckWidget(std::vector<Overflow>& out, const QWidget* w) {
  const QString name = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
  if (const auto* l = qobject_cast<const QLabel*>(w)) {
    if (l->pixmap().isNull()) CheckText(out, w, name, l->text(), LabelRoom(l));
  } else if (const auto* b = qobject_cast<const QPushButton*>(w)) {
    CheckText(out, w, name, b->text(), PushButtonRoom(b));
  } else if (const auto* t = qobject_cast<const QToolButton*>(w)) {
    if (t->arrowType() == Qt::NoArrow) CheckText(out, w, name, t->text(), ToolButtonRoom(t));
  } else if (const auto* c = qobject_cast<const QComboBox*>(w)) {
    if (IsPortList(w)) return;
    for (int i = 0; i < c->count(); ++i) {
      CheckText(out, w, name + QStringLiteral(" item %1").arg(i), c->itemText(i), ComboRoom(c));
    }
  } else if (const auto* e = qobject_cast<const QLineEdit*>(w)) {
    CheckText(out, w, name, e->text(), LineEditRoom(e));
  } else if (const auto* g = qobject_cast<const QGroupBox*>(w)) {
    CheckText(out, w, name + QStringLiteral(" title"), g->title(), GroupTitleRoom(g));
  }
}

// A label is as wide as its text when it sizes itself; then what matters is that its text does not run under the
// control beside it. Trailing spaces show nothing and may lie under a neighbour.
void CheckNeighbours(std::vector<Overflow>& out, const QLabel* l) {
  if (!l->pixmap().isNull() || l->text().trimmed().isEmpty() || !l->parentWidget()) return;
  QString ink = l->text();
  while (!ink.isEmpty() && ink.back().isSpace()) ink.chop(1);
  const QRect inLabel = l->style()->itemTextRect(QFontMetrics(l->font()), l->contentsRect(),
                                                 static_cast<int>(l->alignment()), true, ink);
  const QRect inkRect = inLabel.translated(l->pos());
  for (const QObject* o : l->parentWidget()->children()) {
    const auto* sibling = qobject_cast<const QWidget*>(o);
    if (!sibling || sibling == l || !sibling->isVisible()) continue;
    // Pictures the texts stand on (the fader, the delay background) are meant to lie behind them.
    if (const auto* picture = qobject_cast<const QLabel*>(sibling); picture && !picture->pixmap().isNull()) continue;
    if (sibling->geometry().intersects(inkRect)) {
      out.push_back({l->objectName() + QStringLiteral(" runs under ") + sibling->objectName(), ink,
                     inkRect.width(), sibling->x() - inkRect.x()});
    }
  }
}

// A control that sticks out of its parent is cut off there, however wide it is.
void CheckInsideParent(std::vector<Overflow>& out, const QWidget* w) {
  const QWidget* parent = w->parentWidget();
  if (!parent || parent->isWindow()) return;
  QString text = w->property("text").toString();
  if (const auto* g = qobject_cast<const QGroupBox*>(w)) text = g->title();
  if (text.isEmpty() || parent->rect().contains(w->geometry())) return;
  out.push_back({w->objectName() + QStringLiteral(" sticks out of ") + parent->objectName(), text,
                 w->geometry().right() + 1, parent->width()});
}

// Every visible widget of the window as it stands now.
std::vector<Overflow> Overflows(const QWidget* window) {
  std::vector<Overflow> out;
  for (const QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisible()) continue;
    CheckWidget(out, w);
    CheckInsideParent(out, w);
    if (const auto* l = qobject_cast<const QLabel*>(w)) CheckNeighbours(out, l);
  }
  return out;
}

std::string Describe(const std::vector<Overflow>& found) {
  std::ostringstream s;
  for (const Overflow& o : found) {
    s << "\n  " << o.where.toStdString() << ": \"" << o.text.toStdString() << "\" needs " << o.need << " px, has "
      << o.room;
  }
  return s.str();
}

class LooksTest : public ::testing::Test {
 protected:
  LooksTest() {
    App();
    form = std::make_unique<TForm1>(dialogs);
    form->show();
  }
  ~LooksTest() override { dialogs.Verify(); }

  // What the end of the start-up sweep shows.
  void Ready() {
    form->GroupBox1->show();
    form->GroupBox2->show();
    form->GroupBox3->show();
    form->RzGroupBox3->hide();
    form->N112->setVisible(true);
    form->N6->setVisible(true);
  }

  void ExpectAllFit(const char* state) {
    const std::vector<Overflow> found = Overflows(form.get());
    EXPECT_TRUE(found.empty()) << "texts wider than their controls with " << state << ":" << Describe(found);
  }

  test::ScriptedDialogs dialogs;
  std::unique_ptr<TForm1> form;
};

TEST_F(LooksTest, EveryTextFitsWithEveryPanelOpen) {
  ExpectAllFit("the ID check box of the start-up");
  Ready();
  ExpectAllFit("the window ready");

  // Every panel button of the strip, so that every channel's panel title is seen.
  ChannelStrip* s = form->GroupBox1;
  std::vector<QPushButton*> openers;
  for (auto* b : s->EqButtons) openers.push_back(b);
  for (auto* b : s->DelayButtons) openers.push_back(b);
  for (auto* b : s->GainButtons) openers.push_back(b);
  for (auto* b : s->LimiterButtons) openers.push_back(b);
  openers.push_back(s->RzButton11);
  for (QPushButton* b : openers) {
    b->click();
    ExpectAllFit(qPrintable(b->objectName() + QStringLiteral(" clicked")));
  }
  form->Panels.ClosePanel();

  form->Panels.ShowSearchResult();
  ExpectAllFit("the search result box");
  form->Panels.ClosePanel();

  // The boxes that other parts of the program show.
  const std::vector<std::pair<const char*, QWidget*>> boxes = {
      {"the BTL box", form->rzgrpbx_btl},
      {"the initial-data box", form->RzGroupBox16},
      {"the progress box", form->RzGroupBox1},
      {"the search progress box", form->RzGroupBox3},
  };
  for (const auto& [state, box] : boxes) {
    box->show();
    ExpectAllFit(state);
    box->hide();
  }
}

TEST_F(LooksTest, RunTimeTextsFitAtTheirWidest) {
  Ready();
  const UiTexts& t = Texts();
  ToolsColumn* tools = form->GroupBox3;
  struct Case {
    QLabel* label;
    QString text;
  } cases[] = {
      {tools->RzLabel32, AttenuationReadout(123)},
      {tools->RzLabel32, AttenuationReadout(255)},
      {tools->RzLabel29, TemperatureReadout(0)},
      {tools->RzLabel29, TemperatureReadout(30)},
      {form->GroupBox2->RzGroupBox4->RzLabel14, LastLoadedGroupText(20)},
      {form->GroupBox2->RzGroupBox4->RzLabel14, LastLoadedGroupText(4)},
      {form->StatusPanel0, Ui(t.StatusConnected + "/dev/ttyUSB0")},
      {form->StatusPanel0, Ui(t.StatusDisconnected)},
      {form->GroupBox1->Label1, QStringLiteral("-60.0 dB")},
      {form->RzGroupBox2->RzLabel6, Ui(t.SearchResultNone)},
  };
  std::vector<Overflow> found;
  for (const Case& c : cases) {
    c.label->setText(c.text);
    CheckWidget(found, c.label);
    CheckInsideParent(found, c.label);
    CheckNeighbours(found, c.label);
  }
  EXPECT_TRUE(found.empty()) << Describe(found);
}

// The part of a rendered widget that differs from its corner pixel.
QRect DrawnExtent(QWidget* w) {
  const QImage img = w->grab().toImage();
  const QRgb background = img.pixel(0, 0);
  QRect extent;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      if (img.pixel(x, y) != background) extent |= QRect(x, y, 1, 1);
    }
  }
  return extent;
}

TEST_F(LooksTest, TheFourStripIconsAreDrawnAtOneSize) {
  Ready();
  ChannelStrip* s = form->GroupBox1;
  const QRect main = DrawnExtent(s->MainIcon);
  ASSERT_FALSE(main.isEmpty());
  // Not a speck: the icon fills most of its place.
  EXPECT_GE(main.width(), s->MainIcon->width() / 2);
  EXPECT_GE(main.height(), s->MainIcon->height() / 2);
  for (QLabel* icon : {s->HighIcon, s->Image1, s->LowIcon}) {
    EXPECT_EQ(icon->size(), s->MainIcon->size()) << icon->objectName().toStdString();
    EXPECT_EQ(DrawnExtent(icon), main) << icon->objectName().toStdString();
  }
  // A bridged Mid row shows its mode under an icon of the same width.
  s->Image1->setPixmap(form->BtlIcons[1]);
  EXPECT_EQ(DrawnExtent(s->Image1).width(), main.width());
}

TEST_F(LooksTest, TheClientAreaStaysPutWhenTheMenusReturn) {
  // During the start-up sweep the menus File and Help are hidden.
  QApplication::processEvents();
  const QPoint during = form->Client->mapTo(form.get(), QPoint(0, 0));
  const QSize sizeDuring = form->Client->size();
  EXPECT_GT(during.y(), 0) << "the menu bar lost its height";

  form->N112->setVisible(true);
  form->N6->setVisible(true);
  QApplication::processEvents();
  EXPECT_TRUE(form->menuBar()->isVisible());
  EXPECT_EQ(form->Client->mapTo(form.get(), QPoint(0, 0)), during);
  EXPECT_EQ(form->Client->size(), sizeDuring);

}

}  // namespace
}  // namespace k7310
