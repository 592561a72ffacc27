#include <gtest/gtest.h>

#include "common/DateTime.h"
#include "platform/Clock.h"

TEST(DateTime, DayZeroIsThirtiethDecember1899Saturday) {
  const DateTimeFields f = SplitDateTime(0.0);
  EXPECT_EQ(f.year, 1899);
  EXPECT_EQ(f.month, 12);
  EXPECT_EQ(f.day, 30);
  EXPECT_EQ(f.dayOfWeek, 6);
}

TEST(DateTime, KnownDatesRoundTrip) {
  // 5 January 2001 was a Friday; 1 January 1900 is day 2.
  EXPECT_DOUBLE_EQ(MakeDateTime(1900, 1, 1), 2.0);
  const double t = MakeDateTime(2001, 1, 5, 14, 3, 7, 250);
  const DateTimeFields f = SplitDateTime(t);
  EXPECT_EQ(f.year, 2001);
  EXPECT_EQ(f.month, 1);
  EXPECT_EQ(f.day, 5);
  EXPECT_EQ(f.hour, 14);
  EXPECT_EQ(f.minute, 3);
  EXPECT_EQ(f.second, 7);
  EXPECT_EQ(f.millisecond, 250);
  EXPECT_EQ(f.dayOfWeek, 5);
  // Leap days and the turn of centuries.
  for (int y : {1900, 2000, 2024, 2100}) {
    for (int m = 1; m <= 12; ++m) {
      const DateTimeFields g = SplitDateTime(MakeDateTime(y, m, 28, 23, 59, 59, 999));
      EXPECT_EQ(g.year, y);
      EXPECT_EQ(g.month, m);
      EXPECT_EQ(g.day, 28);
    }
  }
  EXPECT_EQ(SplitDateTime(MakeDateTime(2024, 2, 29)).day, 29);
  EXPECT_EQ(SplitDateTime(MakeDateTime(2023, 2, 28) + 1).month, 3);
}

TEST(DateTime, RoundingCarriesIntoTheNextDay) {
  // Half a millisecond before midnight rounds up: never 60 s or 1000 ms.
  const double t = MakeDateTime(2026, 12, 31) + 1.0 - 0.4 / MillisecondsPerDay;
  const DateTimeFields f = SplitDateTime(t);
  EXPECT_EQ(f.year, 2027);
  EXPECT_EQ(f.month, 1);
  EXPECT_EQ(f.day, 1);
  EXPECT_EQ(f.hour, 0);
  EXPECT_EQ(f.second, 0);
  EXPECT_EQ(f.millisecond, 0);
  EXPECT_TRUE(IsMidnight(t));
  const DateTimeFields g = SplitDateTime(MakeDateTime(2026, 1, 1, 10, 59, 59) +
                                         0.9996 / 86400.0);
  EXPECT_EQ(g.hour, 11);
  EXPECT_EQ(g.minute, 0);
  EXPECT_EQ(g.second, 0);
  EXPECT_EQ(g.millisecond, 0);
}

TEST(DateTime, ParseAcceptsDayNumbersAndLocalDateTimes) {
  EXPECT_DOUBLE_EQ(*ParseDateTime("46000.5"), 46000.5);
  EXPECT_DOUBLE_EQ(*ParseDateTime("2026-12-07T09:00:00.040"),
                   MakeDateTime(2026, 12, 7, 9, 0, 0, 40));
  EXPECT_DOUBLE_EQ(*ParseDateTime("2026-12-07 09:00:00.5"),
                   MakeDateTime(2026, 12, 7, 9, 0, 0, 500));
  EXPECT_DOUBLE_EQ(*ParseDateTime("2026-12-07"), MakeDateTime(2026, 12, 7));
  for (const char* bad : {"", "x", "12abc", "2026-13-01", "2026-12-07T25:00:00",
                          "2026-12-07T09:00", "2026-12-07T09:00:00.12345", "nan"})
    EXPECT_FALSE(ParseDateTime(bad).has_value()) << bad;
}

TEST(DateTime, FormatsReadBack) {
  const double t = MakeDateTime(2026, 12, 7, 9, 0, 0, 40);
  EXPECT_EQ(FormatDateTimeIso(t), "2026-12-07 09:00:00.040");
  EXPECT_EQ(FormatDateTimeDotted(t), "07.12.2026 09:00:00.040");
  EXPECT_EQ(*ParseDateTime(FormatDayNumber(t)), t);
}

TEST(Clock, InstalledClockReplacesTheSystemClock) {
  FixedClock fixed(46000.25);
  InstallClock(&fixed);
  EXPECT_EQ(PresentTime(), 46000.25);
  InstallClock(nullptr);
  EXPECT_GT(PresentTime(), MakeDateTime(2020, 1, 1));
}
