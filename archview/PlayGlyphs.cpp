#include "archview/PlayGlyphs.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

#include "view/KindColours.h"

namespace {

constexpr int kSize = 16;

void Triangle(QPainter& p, double left, double right) {
  // Points from left to right: apex at right.
  const double top = 2.5, bottom = kSize - 2.5, middle = kSize / 2.0;
  p.drawPolygon(QPolygonF({QPointF(left, top), QPointF(right, middle), QPointF(left, bottom)}));
}

// mark: the colour of an event's bar, the motion lanes' own.
QPixmap Draw(PlayGlyph glyph, const QColor& colour, const QColor& mark) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  switch (glyph) {
    // A frame step: a single triangle with a bar behind it, where the jump
    // to an end would put the bar in front.
    case PlayGlyph::StepBack:
      Triangle(p, 10, 2.5);
      p.drawRect(QRectF(11.5, 3, 2.5, kSize - 6));
      break;
    case PlayGlyph::RunBack:
      Triangle(p, 12.5, 3.5);
      break;
    case PlayGlyph::Stop:
      p.drawRect(QRectF(4, 4, kSize - 8, kSize - 8));
      break;
    case PlayGlyph::RunForward:
      Triangle(p, 3.5, 12.5);
      break;
    case PlayGlyph::StepForward:
      p.drawRect(QRectF(2, 3, 2.5, kSize - 6));
      Triangle(p, 6, 13.5);
      break;
    // A jump to an event: the bar of an event in front of two triangles, as
    // a jump to an end has its bar in front.
    case PlayGlyph::PreviousEvent:
      Triangle(p, 9.5, 4.5);
      Triangle(p, 15, 10);
      p.setBrush(mark);
      p.drawRect(QRectF(1, 2, 3, kSize - 4));
      break;
    case PlayGlyph::NextEvent:
      Triangle(p, 1, 6);
      Triangle(p, 6.5, 11.5);
      p.setBrush(mark);
      p.drawRect(QRectF(12, 2, 3, kSize - 4));
      break;
  }
  return pixmap;
}

}  // namespace

QIcon MakePlayGlyph(PlayGlyph glyph) {
  QIcon icon;
  const QColor mark = KindColour(KindMotion);
  icon.addPixmap(Draw(glyph, QColor(20, 20, 20), mark), QIcon::Normal, QIcon::Off);
  icon.addPixmap(Draw(glyph, QColor(0, 90, 200), mark), QIcon::Normal, QIcon::On);
  const QColor grey(150, 150, 150);
  icon.addPixmap(Draw(glyph, grey, grey), QIcon::Disabled, QIcon::Off);
  return icon;
}
