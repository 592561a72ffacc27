#pragma once
// The texts the playback window writes: a cell's hint for a shown frame, the
// window caption of the timer tick, and the date-time text of both. Dates
// and times follow the installed regional formats (platform/qt/LocaleFormats.h).

#include <QString>

#include <cstdint>

// Half a second: how far the position may run during a search before the
// position bar and the first/last boxes are refreshed.
inline constexpr double RefreshGap = 0.5 / 86400.0;
// One minute: a cell whose picture is further than this from the position is
// marked "Нет записи".
inline constexpr double StaleLimit = 1.0 / 1440.0;
inline constexpr std::int64_t StaleLimitMs = 60000;

// The caption of a cell that has no picture for the position.
inline QString NoRecordCaption() { return QStringLiteral("Нет записи"); }

// "05.01.2001 14:03:07": short date, a blank and the long time; only the
// date at exactly midnight.
QString DateTimeText(double dateTime);

// The hint of the cell of camera (0-based) showing a frame of kinds at
// dateTime; export names the kinds as the fragment export does.
QString CellHintText(int camera, double dateTime, std::uint32_t kinds, bool forExport);

// "Архив    5 января,<weekday>,2001  14:03:07".
QString ArchCaptionText(double dateTime);

// The genitive month name, 1..12 ("января"); empty outside.
QString GenitiveMonthName(int month);

// True when a picture taken at cellTime is too old to stand for position:
// more than one minute away, judged to the millisecond so that a distance of
// exactly one minute is never pushed over by rounding of the day fractions.
bool PictureStale(double cellTime, double position);
