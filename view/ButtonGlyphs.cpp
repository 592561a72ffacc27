#include "view/ButtonGlyphs.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace {

constexpr int kSize = 20;
const QColor kInk(40, 40, 40);
const QColor kAccent(30, 90, 180);
const QColor kDisabled(150, 150, 150);

using Drawing = std::function<void(QPainter&, const QColor& ink, const QColor& accent)>;

QPixmap Paint(const Drawing& draw, bool enabled) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  draw(p, enabled ? kInk : kDisabled, enabled ? kAccent : kDisabled);
  return pixmap;
}

QIcon Glyph(const Drawing& draw) {
  QIcon icon;
  icon.addPixmap(Paint(draw, true), QIcon::Normal);
  icon.addPixmap(Paint(draw, false), QIcon::Disabled);
  return icon;
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color) {
  p.setPen(QPen(color, 1.6));
  p.drawLine(from, to);
  const QPointF d = (to - from) / 3.0;
  const QPointF n(-d.y(), d.x());
  QPainterPath head;
  head.moveTo(to);
  head.lineTo(to - d + n * 0.6);
  head.lineTo(to - d - n * 0.6);
  head.closeSubpath();
  p.fillPath(head, color);
}

}  // namespace

QIcon FullScreenGlyph() {
  return Glyph([](QPainter& p, const QColor& ink, const QColor& accent) {
    p.setPen(QPen(ink, 1.4));
    p.drawRect(QRectF(2.5, 2.5, 15, 15));
    Arrow(p, {8, 8}, {4, 4}, accent);
    Arrow(p, {12, 8}, {16, 4}, accent);
    Arrow(p, {8, 12}, {4, 16}, accent);
    Arrow(p, {12, 12}, {16, 16}, accent);
  });
}

QIcon RestoreGlyph() {
  return Glyph([](QPainter& p, const QColor& ink, const QColor& accent) {
    p.setPen(QPen(ink, 1.4));
    p.drawRect(QRectF(6.5, 2.5, 11, 9));
    p.fillRect(QRectF(2.5, 8.5, 11, 9), Qt::white);
    p.drawRect(QRectF(2.5, 8.5, 11, 9));
    p.fillRect(QRectF(3, 9, 10, 2.5), accent);
  });
}

QIcon DefaultWindowGlyph() {
  return Glyph([](QPainter& p, const QColor& ink, const QColor& accent) {
    p.setPen(QPen(ink, 1.4));
    p.drawRect(QRectF(1.5, 3.5, 17, 13));
    p.fillRect(QRectF(2, 4, 16, 2.5), accent);
    // The window's own font would not fit under the title bar.
    QFont font = p.font();
    font.setPixelSize(8);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QPen(ink, 1.0));
    p.drawText(QRectF(2, 6.5, 16, 10), Qt::AlignCenter, QStringLiteral("4:3"));
  });
}

QIcon SelectedLayoutGlyph() {
  return Glyph([](QPainter& p, const QColor& ink, const QColor& accent) {
    p.setPen(QPen(ink, 1.0));
    for (int i = 0; i < 2; ++i)
      for (int j = 0; j < 2; ++j) p.drawRect(QRectF(9.5 + 4.5 * i, 9.5 + 4.5 * j, 4, 4));
    p.setPen(QPen(accent, 1.8));
    p.drawArc(QRectF(3, 3, 12, 12), 90 * 16, 180 * 16);
    Arrow(p, {8, 3}, {15.5, 3}, accent);
  });
}

QIcon GridSizeGlyph() {
  return Glyph([](QPainter& p, const QColor& ink, const QColor&) {
    // Grid lines on whole pixels: separate small squares blur into a
    // chequerboard at this size.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(ink, 1.0));
    for (int k = 0; k <= 4; ++k) {
      p.drawLine(2 + 4 * k, 2, 2 + 4 * k, 18);
      p.drawLine(2, 2 + 4 * k, 18, 2 + 4 * k);
    }
  });
}

QIcon FreezeGlyph() {
  const Drawing bars = [](QPainter& p, const QColor&, const QColor& accent) {
    p.fillRect(QRectF(5, 4, 3.5, 12), accent);
    p.fillRect(QRectF(11.5, 4, 3.5, 12), accent);
  };
  const Drawing play = [](QPainter& p, const QColor&, const QColor& accent) {
    QPainterPath mark;
    mark.moveTo(6, 4);
    mark.lineTo(16, 10);
    mark.lineTo(6, 16);
    mark.closeSubpath();
    p.fillPath(mark, accent.darker(110));
  };
  QIcon icon;
  icon.addPixmap(Paint(bars, true), QIcon::Normal, QIcon::Off);
  icon.addPixmap(Paint(bars, false), QIcon::Disabled, QIcon::Off);
  icon.addPixmap(Paint(play, true), QIcon::Normal, QIcon::On);
  icon.addPixmap(Paint(play, false), QIcon::Disabled, QIcon::On);
  return icon;
}

QIcon SaveLayoutGlyph() {
  return Glyph([](QPainter& p, const QColor& ink, const QColor& accent) {
    p.setPen(QPen(ink, 1.0));
    for (int i = 0; i < 2; ++i)
      for (int j = 0; j < 2; ++j) p.drawRect(QRectF(2.5 + 5 * i, 7.5 + 5 * j, 4, 4));
    p.setPen(QPen(accent, 2.2));
    p.drawLine(QPointF(15, 2), QPointF(15, 12));
    p.drawLine(QPointF(10, 7), QPointF(20, 7));
  });
}

QIcon DeleteLayoutGlyph() {
  return Glyph([](QPainter& p, const QColor&, const QColor&) {
    p.setPen(QPen(QColor(190, 40, 40), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 5), QPointF(15, 15));
    p.drawLine(QPointF(15, 5), QPointF(5, 15));
  });
}

QIcon CaptionGlyph() {
  return Glyph([](QPainter& p, const QColor& ink, const QColor& accent) {
    p.setPen(QPen(ink, 1.4));
    p.drawRect(QRectF(2.5, 3.5, 15, 13));
    // The caption's dark box with its text line, at the picture's bottom left.
    p.fillRect(QRectF(3.2, 11.5, 10, 4.3), ink);
    p.setPen(QPen(Qt::white, 1.2));
    p.drawLine(QPointF(4.5, 13.6), QPointF(10.5, 13.6));
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawEllipse(QRectF(11, 12.3, 2.4, 2.4));
  });
}
