#include "app/kit/pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace k7310 {
namespace {

QPixmap Blank(int w, int h, const QColor& fill = Qt::transparent) {
  QPixmap p(w, h);
  p.fill(fill);
  return p;
}

QPixmap Lamp(int size, const QColor& centre, const QColor& rim) {
  QPixmap p = Blank(size, size);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  // The lamp is drawn into the top-left 25 x 25 corner whatever the picture's size.
  QRadialGradient glow(QPointF(10, 10), 12);
  glow.setColorAt(0, centre.lighter(160));
  glow.setColorAt(0.6, centre);
  glow.setColorAt(1, rim);
  g.setPen(QPen(QColor(60, 60, 60), 1));
  g.setBrush(glow);
  g.drawEllipse(QRectF(2.5, 2.5, 20, 20));
  return p;
}

// A small loudspeaker: box, cone and a sound arc, filling the width of r.
void DrawSpeaker(QPainter& g, const QRectF& r, const QColor& colour) {
  const double w = r.width(), h = r.height();
  QPainterPath path;
  path.moveTo(r.left() + w * 0.06, r.top() + h * 0.33);
  path.lineTo(r.left() + w * 0.34, r.top() + h * 0.33);
  path.lineTo(r.left() + w * 0.64, r.top() + h * 0.08);
  path.lineTo(r.left() + w * 0.64, r.top() + h * 0.92);
  path.lineTo(r.left() + w * 0.34, r.top() + h * 0.67);
  path.lineTo(r.left() + w * 0.06, r.top() + h * 0.67);
  path.closeSubpath();
  g.setPen(QPen(colour.darker(170), 1));
  g.setBrush(colour);
  g.drawPath(path);
  g.setBrush(Qt::NoBrush);
  g.setPen(QPen(colour.darker(170), 2));
  g.drawArc(QRectF(r.left() + w * 0.56, r.top() + h * 0.22, w * 0.38, h * 0.56), -60 * 16, 120 * 16);
}

// Sans-serif text for the pictures: Arial where it is installed, else its metric twin.
QFont PictureFont(int pixelSize, bool bold = false) {
  QFont f(QStringLiteral("Arial"));
  f.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  f.setPixelSize(pixelSize);
  f.setBold(bold);
  return f;
}

// Every strip icon is one of these 41 x 41 pictures, so that all four rows show their speaker at one size: the
// speaker spans the same columns in each, and a bridged mode's name goes under it.
QPixmap BtlIcon(const char* text, const QColor& colour) {
  QPixmap p = Blank(41, 41);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  const bool named = *text != 0;
  DrawSpeaker(g, QRectF(1, 1, 39, named ? 27 : 39), colour);
  if (named) {
    g.setFont(PictureFont(9, true));
    g.setPen(QColor(0, 96, 0));
    g.drawText(QRect(0, 28, 41, 13), Qt::AlignCenter, QString::fromLatin1(text));
  }
  return p;
}

}  // namespace

QPixmap LampOffPicture() { return Lamp(25, QColor(120, 0, 0), QColor(50, 0, 0)); }
QPixmap LampOnPicture() { return Lamp(41, QColor(0, 220, 0), QColor(0, 90, 0)); }

QPixmap FaderBackPicture() {
  QPixmap p = Blank(163, 250, QColor(64, 64, 72));
  QPainter g(&p);
  // Scale: +5 dB at row 26, -20 dB at row 205, the knob column at x 73..85.
  g.setPen(QColor(20, 20, 20));
  g.setBrush(QColor(20, 20, 20));
  g.drawRect(77, 22, 4, 190);
  g.setPen(QColor(200, 200, 200));
  g.setFont(PictureFont(9));
  for (int db = 5; db >= -20; db -= 5) {
    const int y = static_cast<int>((5 - db) * 179 / 25.0 + 26);
    g.drawLine(60, y, 70, y);
    g.drawLine(88, y, 98, y);
    g.drawText(QRect(24, y - 6, 32, 12), Qt::AlignRight | Qt::AlignVCenter, QString::number(db));
  }
  return p;
}

QPixmap FaderKnobPicture() {
  QPixmap p = Blank(12, 13, QColor(180, 180, 180));
  QPainter g(&p);
  g.setPen(QColor(90, 90, 90));
  g.drawRect(0, 0, 11, 12);
  g.setPen(QColor(30, 30, 30));
  g.drawLine(1, 6, 10, 6);
  return p;
}

QPixmap FaderKnobHotPicture() {
  QPixmap p = Blank(12, 13, QColor(255, 255, 128));
  QPainter g(&p);
  g.setPen(QColor(120, 120, 0));
  g.drawRect(0, 0, 11, 12);
  g.setPen(QColor(200, 0, 0));
  g.drawLine(1, 6, 10, 6);
  return p;
}

QPixmap BtlNormalPicture() { return ChannelIconPicture(); }
QPixmap BtlLowMidPicture() { return BtlIcon("L-M", QColor(0, 150, 0)); }
QPixmap BtlHighMidPicture() { return BtlIcon("H-M", QColor(0, 150, 0)); }

QPixmap ChannelIconPicture() { return BtlIcon("", QColor(70, 110, 200)); }

QPixmap RowLinePicture(int width, int height) {
  QPixmap p = Blank(width, height, QColor(128, 128, 128));
  return p;
}

QPixmap DelayBackPicture(int width, int height) {
  QPixmap p = Blank(width, height);
  QPainter g(&p);
  QLinearGradient shade(0, 0, 0, height);
  shade.setColorAt(0, QColor(236, 236, 244));
  shade.setColorAt(1, QColor(200, 204, 220));
  g.fillRect(0, 0, width, height, shade);
  return p;
}

QPixmap BtlWiringPicture() {
  QPixmap p = Blank(713, 157, Qt::white);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  g.setFont(PictureFont(12));
  // Three amplifier outputs, and the bridged speaker across Mid and the joined channel.
  const char* names[] = {"High", "Mid", "Low"};
  for (int i = 0; i < 3; ++i) {
    const int x = 40 + i * 150;
    g.setPen(QPen(Qt::black, 1));
    g.setBrush(QColor(230, 230, 230));
    g.drawRect(x, 30, 110, 50);
    g.drawText(QRect(x, 30, 110, 50), Qt::AlignCenter, QString::fromLatin1(names[i]));
    g.setPen(QPen(Qt::red, 2));
    g.drawLine(x + 30, 80, x + 30, 120);
    g.setPen(QPen(Qt::black, 2));
    g.drawLine(x + 80, 80, x + 80, 120);
  }
  g.setPen(QPen(QColor(0, 120, 0), 2));
  g.drawLine(190 + 30, 120, 340 + 30, 120);
  DrawSpeaker(g, QRectF(520, 40, 120, 80), QColor(70, 110, 200));
  g.drawLine(370, 120, 560, 120);
  g.setPen(Qt::black);
  g.drawText(QRect(480, 130, 200, 20), Qt::AlignCenter, QStringLiteral("BTL"));
  return p;
}

}  // namespace k7310
