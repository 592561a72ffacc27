// The texts of the playback window: cell hints, the caption of the timer
// tick, the staleness edge, and the time format without its zone field.

#include <gtest/gtest.h>

#include "archview/ArchCaptions.h"
#include "common/DateTime.h"
#include "common/RecordKind.h"
#include "platform/qt/LocaleFormats.h"

namespace {

const FixedLocaleFormats kFormats("dd.MM.yyyy", "H:mm:ss",
                                  {"Monday", "Tuesday", "Wednesday", "Thursday",
                                   "Friday", "Saturday", "Sunday"});

class Captions : public ::testing::Test {
 protected:
  void SetUp() override { InstallLocaleFormats(&kFormats); }
  void TearDown() override { InstallLocaleFormats(nullptr); }
  const double friday_ = MakeDateTime(2001, 1, 5, 14, 3, 7);
};

TEST_F(Captions, HintNamesCameraDateTimeAndKindsInBitOrder) {
  EXPECT_EQ(CellHintText(4, friday_, 0, false),
            QStringLiteral("5:     05.01.2001 14:03:07"));
  EXPECT_EQ(CellHintText(4, friday_, KindMotion | KindContinuous, false),
            QStringLiteral("5:     05.01.2001 14:03:07 (непрерывная) (движение)"));
  EXPECT_EQ(CellHintText(31, friday_, KindAll, false),
            QStringLiteral("32:     05.01.2001 14:03:07 (непрерывная) (активность) (движение)"
                           " (история движения)"));
}

TEST_F(Captions, ExportHintUsesRecordingNamesAndNoneForHistory) {
  EXPECT_EQ(CellHintText(0, friday_, KindContinuous | KindMotion, true),
            QStringLiteral("1:     05.01.2001 14:03:07 (непрерывная запись) (запись по тревоге)"));
  EXPECT_EQ(CellHintText(0, friday_, KindActivity, true),
            QStringLiteral("1:     05.01.2001 14:03:07 (запись по активности)"));
  EXPECT_EQ(CellHintText(0, friday_, KindMotionHistory, true),
            QStringLiteral("1:     05.01.2001 14:03:07"));
}

TEST_F(Captions, HintLeavesOutTimeAtExactMidnight) {
  EXPECT_EQ(CellHintText(1, MakeDateTime(2001, 1, 5), 0, false),
            QStringLiteral("2:     05.01.2001"));
  EXPECT_EQ(CellHintText(1, MakeDateTime(2001, 1, 5, 0, 0, 0, 1), 0, false),
            QStringLiteral("2:     05.01.2001 0:00:00"));
}

TEST_F(Captions, WindowCaptionUsesGenitiveMonthAndWeekday) {
  EXPECT_EQ(ArchCaptionText(friday_), QStringLiteral("Архив    5 января,Friday,2001  14:03:07"));
  EXPECT_EQ(ArchCaptionText(MakeDateTime(2024, 12, 31, 23, 59, 59, 999)),
            QStringLiteral("Архив    31 декабря,Tuesday,2024  23:59:59"));
}

TEST_F(Captions, CaptionNeverShowsSixtySeconds) {
  EXPECT_EQ(ArchCaptionText(MakeDateTime(2001, 5, 31, 23, 59, 59, 999) + 0.6 / 86400000.0),
            QStringLiteral("Архив    1 июня,Friday,2001  0:00:00"));
}

TEST(CaptionsMonths, AllTwelveGenitiveNames) {
  const char* expected[] = {"января", "февраля", "марта", "апреля", "мая", "июня",
                            "июля", "августа", "сентября", "октября", "ноября", "декабря"};
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(GenitiveMonthName(m), QString::fromUtf8(expected[m - 1]));
  EXPECT_TRUE(GenitiveMonthName(0).isEmpty());
  EXPECT_TRUE(GenitiveMonthName(13).isEmpty());
}

TEST(Staleness, ExactlyOneMinuteKeepsPictureAMillisecondMoreDoesNot) {
  const double cell = MakeDateTime(2001, 1, 5, 14, 3, 7);
  EXPECT_FALSE(PictureStale(cell, MakeDateTime(2001, 1, 5, 14, 4, 7)));
  EXPECT_FALSE(PictureStale(cell, MakeDateTime(2001, 1, 5, 14, 2, 7)));
  EXPECT_TRUE(PictureStale(cell, MakeDateTime(2001, 1, 5, 14, 4, 7, 1)));
  EXPECT_TRUE(PictureStale(cell, MakeDateTime(2001, 1, 5, 14, 2, 6, 999)));
  EXPECT_TRUE(PictureStale(0.0, cell));  // never received a picture
}

TEST(LocaleTimeFormat, TimeZoneFieldAndItsBlankRemoved) {
  EXPECT_EQ(WithoutTimeZone("HH:mm:ss t"), QStringLiteral("HH:mm:ss"));
  EXPECT_EQ(WithoutTimeZone("h:mm:ss AP t"), QStringLiteral("h:mm:ss AP"));
  EXPECT_EQ(WithoutTimeZone("t HH:mm:ss"), QStringLiteral("HH:mm:ss"));
  EXPECT_EQ(WithoutTimeZone("HH:mm:ss tttt"), QStringLiteral("HH:mm:ss"));
  EXPECT_EQ(WithoutTimeZone("HH 'Uhr' mm 't'"), QStringLiteral("HH 'Uhr' mm 't'"));
}

TEST(LocaleTimeFormat, SystemLongTimeHasNoZone) {
  InstallLocaleFormats(nullptr);
  const QString format = CurrentLocaleFormats().LongTimeFormat();
  EXPECT_EQ(WithoutTimeZone(format), format);
  EXPECT_FALSE(FormatLongTime(MakeDateTime(2001, 1, 5, 14, 3, 7)).contains(QStringLiteral("UTC")));
}

}  // namespace
