#include "archview/ArchCaptions.h"

#include <cmath>

#include "common/DateTime.h"
#include "common/RecordKind.h"
#include "platform/qt/LocaleFormats.h"

namespace {

// During an export a hint names the kind of recording instead; nullptr: no
// suffix.
struct ExportCaption {
  std::uint32_t bit;
  const char* text;
};

constexpr ExportCaption kExportCaptions[] = {
    {KindContinuous, " (непрерывная запись)"},
    {KindActivity, " (запись по активности)"},
    {KindMotion, " (запись по тревоге)"},
    {KindMotionHistory, nullptr},
};

constexpr const char* kMonths[] = {"января", "февраля", "марта",    "апреля",
                                   "мая",    "июня",    "июля",     "августа",
                                   "сентября", "октября", "ноября", "декабря"};

}  // namespace

QString DateTimeText(double dateTime) {
  QString text = FormatShortDate(dateTime);
  if (!IsMidnight(dateTime)) text += QLatin1Char(' ') + FormatLongTime(dateTime);
  return text;
}

QString CellHintText(int camera, double dateTime, std::uint32_t kinds, bool forExport) {
  QString hint = QString::number(camera + 1) + QStringLiteral(":  ") + QStringLiteral("   ") +
                 DateTimeText(dateTime);
  if (forExport) {
    for (const ExportCaption& caption : kExportCaptions)
      if ((kinds & caption.bit) != 0 && caption.text) hint += QString::fromUtf8(caption.text);
  } else {
    for (const std::uint32_t bit : KindBits)
      if ((kinds & bit) != 0) hint += QStringLiteral(" (%1)").arg(QString::fromUtf8(KindName(bit)));
  }
  return hint;
}

QString GenitiveMonthName(int month) {
  return (month >= 1 && month <= 12) ? QString::fromUtf8(kMonths[month - 1]) : QString();
}

QString ArchCaptionText(double dateTime) {
  const DateTimeFields f = SplitDateTime(dateTime);
  return QStringLiteral("Архив    ") + QString::number(f.day) + QLatin1Char(' ') +
         GenitiveMonthName(f.month) + QLatin1Char(',') + FormatDayName(dateTime) +
         QLatin1Char(',') + QString::number(f.year) + QStringLiteral("  ") +
         FormatLongTime(dateTime);
}

bool PictureStale(double cellTime, double position) {
  const double distance = std::fabs(cellTime - position) * MillisecondsPerDay;
  // Far beyond a minute: no rounding question, and no overflow of llround.
  if (!(distance < 1e15)) return true;
  return std::llround(distance) > StaleLimitMs;
}
