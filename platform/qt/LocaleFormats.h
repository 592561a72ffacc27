#pragma once
// The regional settings that captions and names are built from: the short
// date format, the long time format without its time-zone field, and the full
// weekday names. The system's settings unless a test installs fixed ones.

#include <QLocale>
#include <QString>
#include <QStringList>

class LocaleFormats {
 public:
  virtual ~LocaleFormats() = default;
  // A QDate format, e.g. "dd.MM.yyyy".
  virtual QString ShortDateFormat() const = 0;
  // A QTime format, e.g. "H:mm:ss"; never holds a time-zone field.
  virtual QString LongTimeFormat() const = 0;
  // Full weekday name; isoDay 1 = Monday .. 7 = Sunday.
  virtual QString DayName(int isoDay) const = 0;
  // The locale that renders the formats (names of months in "MMMM" etc.).
  virtual QLocale Locale() const = 0;
};

// QLocale::system().
class SystemLocaleFormats final : public LocaleFormats {
 public:
  QString ShortDateFormat() const override;
  QString LongTimeFormat() const override;
  QString DayName(int isoDay) const override;
  QLocale Locale() const override;
};

// Formats and day names given by the caller, rendered in the C locale.
class FixedLocaleFormats final : public LocaleFormats {
 public:
  // dayNames: Monday first; missing names come out empty.
  FixedLocaleFormats(QString shortDate, QString longTime, QStringList dayNames);
  QString ShortDateFormat() const override { return shortDate_; }
  QString LongTimeFormat() const override { return longTime_; }
  QString DayName(int isoDay) const override;
  QLocale Locale() const override { return QLocale::c(); }

 private:
  QString shortDate_;
  QString longTime_;
  QStringList dayNames_;
};

// The installed formats (the system's unless a test installed others).
const LocaleFormats& CurrentLocaleFormats();
// Installs formats (not owned; they must outlive their use); nullptr restores
// the system's.
void InstallLocaleFormats(const LocaleFormats* formats);

// A QTime format with its time-zone fields ("t" outside quotes) and the
// blanks that separate them removed.
QString WithoutTimeZone(const QString& timeFormat);

// A date-time (days since 30 December 1899) as text in the installed formats.
QString FormatShortDate(double dateTime);
QString FormatLongTime(double dateTime);
// The full weekday name of a date-time's day.
QString FormatDayName(double dateTime);
