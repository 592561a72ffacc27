#include "platform/qt/LocaleFormats.h"

#include <QDate>
#include <QTime>

#include <utility>

#include "common/DateTime.h"

QString SystemLocaleFormats::ShortDateFormat() const {
  return QLocale::system().dateFormat(QLocale::ShortFormat);
}

QString SystemLocaleFormats::LongTimeFormat() const {
  return WithoutTimeZone(QLocale::system().timeFormat(QLocale::LongFormat));
}

QString SystemLocaleFormats::DayName(int isoDay) const {
  return QLocale::system().dayName(isoDay, QLocale::LongFormat);
}

QLocale SystemLocaleFormats::Locale() const { return QLocale::system(); }

FixedLocaleFormats::FixedLocaleFormats(QString shortDate, QString longTime,
                                       QStringList dayNames)
    : shortDate_(std::move(shortDate)),
      longTime_(std::move(longTime)),
      dayNames_(std::move(dayNames)) {}

QString FixedLocaleFormats::DayName(int isoDay) const {
  return (isoDay >= 1 && isoDay <= dayNames_.size()) ? dayNames_[isoDay - 1] : QString();
}

namespace {
const SystemLocaleFormats kSystemFormats;
const LocaleFormats* gInstalledFormats = nullptr;  // nullptr = the system's

QDate DateOf(const DateTimeFields& f) { return QDate(f.year, f.month, f.day); }
QTime TimeOf(const DateTimeFields& f) {
  return QTime(f.hour, f.minute, f.second, f.millisecond);
}
}  // namespace

const LocaleFormats& CurrentLocaleFormats() {
  return gInstalledFormats ? *gInstalledFormats : kSystemFormats;
}

void InstallLocaleFormats(const LocaleFormats* formats) { gInstalledFormats = formats; }

QString WithoutTimeZone(const QString& timeFormat) {
  // Walk the format keeping quoted literals intact; drop every "t" run.
  QString out;
  bool quoted = false;
  for (qsizetype i = 0; i < timeFormat.size(); ++i) {
    const QChar c = timeFormat[i];
    if (c == QLatin1Char('\'')) {
      quoted = !quoted;
      out += c;
    } else if (!quoted && c == QLatin1Char('t')) {
      // Drop the blanks that stood before the field as well.
      while (!out.isEmpty() && out.back().isSpace()) out.chop(1);
      // And those after it when the field opened the format.
      if (out.isEmpty()) {
        while (i + 1 < timeFormat.size() &&
               (timeFormat[i + 1] == QLatin1Char('t') || timeFormat[i + 1].isSpace()))
          ++i;
      }
    } else {
      out += c;
    }
  }
  return out.trimmed();
}

QString FormatShortDate(double dateTime) {
  const LocaleFormats& formats = CurrentLocaleFormats();
  return formats.Locale().toString(DateOf(SplitDateTime(dateTime)),
                                   formats.ShortDateFormat());
}

QString FormatLongTime(double dateTime) {
  const LocaleFormats& formats = CurrentLocaleFormats();
  return formats.Locale().toString(TimeOf(SplitDateTime(dateTime)),
                                   formats.LongTimeFormat());
}

QString FormatDayName(double dateTime) {
  return CurrentLocaleFormats().DayName(SplitDateTime(dateTime).dayOfWeek);
}
