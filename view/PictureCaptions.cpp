#include "view/PictureCaptions.h"

#include <QFont>
#include <QPainter>
#include <algorithm>

#include "common/DateTime.h"
#include "platform/qt/LocaleFormats.h"

namespace {

// 96 dots per inch: the resolution a font's points are turned into pixels
// at on a bitmap.
constexpr int kDotsPerMeter = 3780;

}  // namespace

QString PictureFileName(const QString& folder, int camera, double time, const QString& suffix) {
  const DateTimeFields f = SplitDateTime(time);
  return folder + QString::number(camera) + QStringLiteral("_ [") + QString::number(f.day) +
         QStringLiteral("] [") + QString::number(f.month) + QStringLiteral("] [") +
         QString::number(f.year) + QStringLiteral("] ") + QString::number(f.hour) +
         QLatin1Char('-') + QString::number(f.minute) + QLatin1Char('-') +
         QString::number(f.second * 1000 + f.millisecond) + QLatin1Char('.') + suffix;
}

QString PictureCaption(int camera, double time) {
  const DateTimeFields f = SplitDateTime(time);
  QString text = QStringLiteral("Камера №") + QString::number(camera) + QStringLiteral("  ") +
                 FormatShortDate(time);
  if (f.hour != 0 || f.minute != 0 || f.second != 0)
    text += QLatin1Char(' ') + FormatLongTime(time);
  return text;
}

QString PrintCaption(const QString& title, const std::vector<int>& cameras) {
  QString text = title + QStringLiteral("  Камера(ы) - ");
  for (const int camera : cameras) text += QString::number(camera) + QLatin1Char(',');
  return text;
}

void AddCaptionStrip(QImage& image, int stripHeight, const QString& text, int pointSize) {
  if (image.isNull()) return;
  const int top = image.height();
  QImage strip(image.width(), top + std::max(0, stripHeight), QImage::Format_RGB888);
  strip.setDotsPerMeterX(kDotsPerMeter);
  strip.setDotsPerMeterY(kDotsPerMeter);
  strip.fill(Qt::white);
  {
    QPainter painter(&strip);
    painter.drawImage(0, 0, image);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(std::max(1, pointSize));
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, top, strip.width(), strip.height() - top),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
  }
  image = strip;
}
