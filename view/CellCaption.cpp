#include "view/CellCaption.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainterPath>

#include <algorithm>

#include "common/DateTime.h"
#include "common/RecordKind.h"
#include "platform/qt/LocaleFormats.h"
#include "view/KindColours.h"

namespace {

const QColor kBox(0, 0, 0, 150);
const QColor kText(255, 255, 255);
const QColor kDamage(220, 0, 0);
constexpr int kPadding = 3;
// Whatever the cell's size, the caption stays between these heights of its
// face, in pixels, so it hides little of a large picture and stays legible
// in a small one.
constexpr int kSmallestFace = 10;
constexpr int kLargestFace = 16;

QFont CaptionFont(const QRect& cell) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setBold(true);
  font.setPixelSize(std::clamp(cell.height() / 16, kSmallestFace, kLargestFace));
  return font;
}

// A box of text at the cell's bottom, from its left edge (or ending at its
// right edge), with room after the text for marks of size mark each.
QRect TextBox(const QRect& cell, const QFontMetrics& metrics, const QString& text, int marks,
              bool right) {
  const int mark = metrics.ascent() * 2 / 3;
  const int width = metrics.horizontalAdvance(text) + 2 * kPadding + marks * (mark + kPadding);
  const int height = metrics.height() + 2 * kPadding;
  const int left = right ? cell.right() + 1 - width : cell.left();
  return QRect(left, cell.bottom() + 1 - height, width, height);
}

void DrawBoxedText(QPainter& painter, const QRect& cell, const QString& text,
                   const std::vector<QColor>& marks, bool right) {
  painter.save();
  painter.setClipRect(cell);
  const QFont font = CaptionFont(cell);
  const QFontMetrics metrics(font);
  const QRect box = TextBox(cell, metrics, text, int(marks.size()), right);
  painter.fillRect(box, kBox);
  painter.setFont(font);
  painter.setPen(kText);
  const int baseline = box.top() + kPadding + metrics.ascent();
  painter.drawText(box.left() + kPadding, baseline, text);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  const int size = metrics.ascent() * 2 / 3;
  int x = box.left() + kPadding + metrics.horizontalAdvance(text) + kPadding;
  for (const QColor& colour : marks) {
    painter.setBrush(colour);
    painter.drawEllipse(QRect(x, baseline - size, size, size));
    x += size + kPadding;
  }
  painter.restore();
}

}  // namespace

QString CellCaptionText(int camera, double time, bool withDate) {
  const DateTimeFields f = SplitDateTime(time);
  QString text = QString::number(camera) + QStringLiteral("  ");
  if (withDate) text += FormatShortDate(time) + QLatin1Char(' ');
  return text + QStringLiteral("%1:%2:%3")
                    .arg(f.hour, 2, 10, QLatin1Char('0'))
                    .arg(f.minute, 2, 10, QLatin1Char('0'))
                    .arg(f.second, 2, 10, QLatin1Char('0'));
}

std::vector<QColor> CaptionMarks(std::uint32_t kinds) {
  std::vector<QColor> marks;
  if (kinds & KindMotion) marks.push_back(KindColour(KindMotion));
  if (kinds & KindActivity) marks.push_back(KindColour(KindActivity));
  return marks;
}

QString DamagedFrameHint() { return QStringLiteral("Кадр повреждён"); }

bool CaptionFits(const QRect& cell, const QString& text) {
  const QFontMetrics metrics(CaptionFont(cell));
  return TextBox(cell, metrics, text, int(CaptionMarks(KindAll).size()), false).width() <=
         cell.width();
}

void DrawCellCaption(QPainter& painter, const QRect& cell, const QString& text,
                     std::uint32_t kinds) {
  DrawBoxedText(painter, cell, text, CaptionMarks(kinds), false);
}

void DrawZoomFactor(QPainter& painter, const QRect& cell, double factor) {
  DrawBoxedText(painter, cell, QStringLiteral("×") + QString::number(factor, 'f', 1), {}, true);
}

void DrawDamageMark(QPainter& painter, const QRect& cell) {
  const int size = std::clamp(std::min(cell.width(), cell.height()) / 5, 12, 40);
  QPainterPath corner;
  corner.moveTo(cell.right() + 1 - size, cell.top());
  corner.lineTo(cell.right() + 1, cell.top());
  corner.lineTo(cell.right() + 1, cell.top() + size);
  corner.closeSubpath();
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  // A light edge keeps the corner apart from a red picture.
  painter.setPen(QPen(QColor(255, 255, 255, 200), 1.0));
  painter.setBrush(kDamage);
  painter.drawPath(corner);
  painter.restore();
}
