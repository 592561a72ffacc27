// The position in the archive: the interval pickers, the first and last
// record buttons, the position bar, ClampPosition and ShowArchiveBounds.

#include <QDateEdit>
#include <QDateTime>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimeEdit>

#include <cmath>

#include "archive/OrxRead.h"
#include "archview/ArchView.h"
#include "archview/PlaybackState.h"
#include "archview/PositionBarTime.h"
#include "common/DateTime.h"
#include "platform/Clock.h"
#include "platform/qt/LocaleFormats.h"

namespace {

// Pickers hold wall-clock fields in a QDateTime marked Qt::UTC, so no time zone
// or daylight-saving rule can move them.
QDateTime ToPicker(double dateTime) {
  const DateTimeFields f = SplitDateTime(dateTime);
  return QDateTime(QDate(f.year, f.month, f.day),
                   QTime(f.hour, f.minute, f.second, f.millisecond), Qt::UTC);
}

double FromPicker(const QDateTime& value) {
  const QDate d = value.date();
  const QTime t = value.time();
  return MakeDateTime(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec());
}

void SetPair(QDateTimeEdit* a, QDateTimeEdit* b, const QDateTime& value) {
  const QSignalBlocker blockA(a);
  const QSignalBlocker blockB(b);
  a->setDateTime(value);
  b->setDateTime(value);
}

}  // namespace

int TArchView::PositionReader(double& time, SeekDirection direction) {
  const int result = Reader.SetPosition(time, direction);
  // A clamp lands on the archive's far record, which is not where asked.
  landingPending_ = result == 1 && Reader.Place(landingKey_);
  return result;
}

void TArchView::SetIntervalStart(double dateTime) {
  intervalStart_ = dateTime;
  SetPair(OldDate, OldTime, ToPicker(dateTime));
}

void TArchView::SetIntervalEnd(double dateTime) {
  intervalEnd_ = dateTime;
  SetPair(NewDate, NewTime, ToPicker(dateTime));
}

void TArchView::ClampPosition() {
  const double start = IntervalStart();
  const double end = IntervalEnd();
  if (PlaybackTime < start) {
    PlaybackTime = start;
    PositionReader(PlaybackTime, SeekDirection::Forward);
  }
  if (PlaybackTime > end) {
    PlaybackTime = end;
    PositionReader(PlaybackTime, SeekDirection::Backward);
  }
  const double span = end - start;
  if (span > 0) {
    // Bounded before the conversion: a position far outside the interval
    // must not overflow the integer.
    // A millionth of a step of slack: a record exactly at a bar position's
    // time (the landing of a click) must not truncate to the one before
    // through the rounding of day fractions.
    double p = std::trunc((PlaybackTime - start) * 1000.0 / span + 1e-6);
    if (!(p >= 0.0)) p = 0.0;
    if (p > 1000.0) p = 1000.0;
    // A thumb held by the operator stays under the mouse: its release, not
    // the running playback, decides where the bar goes.
    if (!CurrentPos->isSliderDown()) CurrentPos->setValue(static_cast<int>(p));
    CurrentPos->show();
  } else {
    CurrentPos->hide();
  }
}

void TArchView::ShowArchiveBounds() {
  Reader.GetRange(FirstRecordTime, LastRecordTime);
  // Called at every step of a run: a box whose text stays is not repainted.
  const auto show = [](QLineEdit* box, const QString& text) {
    if (box->text() != text) box->setText(text);
  };
  show(FirstDate, FormatShortDate(FirstRecordTime));
  show(FirstTime, FormatLongTime(FirstRecordTime));
  show(LastDate, FormatShortDate(LastRecordTime));
  show(LastTime, FormatLongTime(LastRecordTime));
  // Within a day the time alone says when a picture was taken.
  SetCaptionDates(LastRecordTime - FirstRecordTime > 1.0);
}

void TArchView::OldDateChange() {
  const QDateTime value = OldDate->dateTime();
  intervalStart_ = FromPicker(value);
  const QSignalBlocker block(OldTime);
  OldTime->setDateTime(value);
  ClampPosition();
}

void TArchView::OldTimeChange() {
  const QDateTime value = OldTime->dateTime();
  intervalStart_ = FromPicker(value);
  const QSignalBlocker block(OldDate);
  OldDate->setDateTime(value);
  ClampPosition();
}

void TArchView::NewDateChange() {
  const QDateTime value = NewDate->dateTime();
  intervalEnd_ = FromPicker(value);
  const QSignalBlocker block(NewTime);
  NewTime->setDateTime(value);
  ClampPosition();
}

void TArchView::NewTimeChange() {
  const QDateTime value = NewTime->dateTime();
  intervalEnd_ = FromPicker(value);
  const QSignalBlocker block(NewDate);
  NewDate->setDateTime(value);
  ClampPosition();
}

void TArchView::LeftRefreshBtnClick() {
  double t = 0.0;  // 30 December 1899, before any record
  if (PositionReader(t, SeekDirection::Forward) < 0) return;
  PlaybackTime = t;
  ShowArchiveBounds();
  SetIntervalStart(t);
  ClampPosition();
}

void TArchView::RightRefreshBtnClick() {
  // Tomorrow at the present time of day: records stamped up to a day ahead
  // are still found as the latest.
  double t = PresentTime() + 1.0;
  if (PositionReader(t, SeekDirection::Backward) < 0) return;
  PlaybackTime = t;
  ShowArchiveBounds();
  SetIntervalEnd(t);
  ClampPosition();
}

void TArchView::MoveToTime(double target) {
  const SeekDirection direction =
      PlaybackTime < target ? SeekDirection::Forward : SeekDirection::Backward;
  PlaybackTime = target;
  PositionReader(PlaybackTime, direction);
  ShowArchiveBounds();
  ClampPosition();
}

void TArchView::MarkInterval(double from, double to) {
  // To the millisecond, as the pickers hold a value.
  const auto whole = [](double t) { return MakeDateTime(SplitDateTime(t)); };
  SetIntervalStart(whole(from));
  SetIntervalEnd(whole(to));
  ClampPosition();
}

void TArchView::CurrentPosScroll(int) {
  // Reached only at the end of a scroll action (see ConnectHandlers).
  MoveToTime(PositionBarTime(IntervalStart(), IntervalEnd(), CurrentPos->sliderPosition()));
  // The bar shows where the reader actually landed.
  CurrentPos->setSliderPosition(CurrentPos->value());
}
