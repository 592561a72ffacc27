#include "archview/IntervalPickerFit.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>
#include <QSlider>
#include <QTimeEdit>
#include <QToolButton>

#include <algorithm>
#include <vector>

#include "archview/ArchView.h"

namespace {

constexpr int kFormWidth = 81;  // the pickers' width in the form
constexpr int kMargin = 2;      // pixels kept free beside a neighbour

// The widest text the edit can show among the given values.
template <typename Values>
QDateTime Widest(const QDateTimeEdit* edit, const Values& values) {
  const QFontMetrics metrics(edit->font());
  QDateTime widest;
  int best = -1;
  for (const QDateTime& value : values) {
    const int width =
        metrics.horizontalAdvance(edit->locale().toString(value, edit->displayFormat()));
    if (width > best) {
      best = width;
      widest = value;
    }
  }
  return widest;
}

// The width the edit asks for when it must show value: the same kind of
// control with the same face, format and buttons, held to that one value.
template <typename Edit>
int WidthFor(const Edit* edit, const QDateTime& value) {
  Edit probe;
  probe.setFont(edit->font());
  probe.setLocale(edit->locale());
  probe.setCalendarPopup(edit->calendarPopup());
  probe.setButtonSymbols(edit->buttonSymbols());
  probe.setTimeSpec(edit->timeSpec());
  probe.setDisplayFormat(edit->displayFormat());
  probe.setDateTimeRange(value, value);
  return probe.sizeHint().width();
}

int LongestDateWidth(const QDateEdit* edit) {
  // Every month, and days 22 to 28: two-digit days on every weekday.
  std::vector<QDateTime> values;
  for (int month = 1; month <= 12; ++month)
    for (int day = 22; day <= 28; ++day)
      values.emplace_back(QDate(2028, month, day), QTime(12, 0), Qt::UTC);
  return WidthFor(edit, Widest(edit, values));
}

int LongestTimeWidth(const QTimeEdit* edit) {
  std::vector<QDateTime> values;
  for (int hour = 0; hour < 24; ++hour)
    values.emplace_back(QDate(2028, 5, 28), QTime(hour, 58, 58, 888), Qt::UTC);
  return WidthFor(edit, Widest(edit, values));
}

void SetLeftWidth(QWidget* widget, int left, int width) {
  widget->setGeometry(left, widget->y(), width, widget->height());
}

}  // namespace

void FitIntervalPickers(TArchView& w) {
  const int startWidth =
      std::max({kFormWidth, LongestDateWidth(w.OldDate), LongestTimeWidth(w.OldTime)});
  const int endWidth =
      std::max({kFormWidth, LongestDateWidth(w.NewDate), LongestTimeWidth(w.NewTime)});

  // The start's column ends before the play buttons and the speed row; it
  // keeps the form's left edge while it can and grows to the left beyond.
  const int startRight = std::min(w.PlayPanel->x(), w.RealTimeBtn->x()) - kMargin;
  const int startLeft = std::max(kMargin, std::min(8, startRight - startWidth));
  for (QWidget* edit : std::initializer_list<QWidget*>{w.OldDate, w.OldTime})
    SetLeftWidth(edit, startLeft, std::min(startWidth, startRight - startLeft));

  // The end's column starts after the play buttons and the speed row.
  const int endLeft = std::max(w.PlayPanel->geometry().right(),
                               w.SpeedBar->geometry().right()) + 1;
  for (QWidget* edit : std::initializer_list<QWidget*>{w.NewDate, w.NewTime})
    SetLeftWidth(edit, endLeft, endWidth);
  const int endRight = endLeft + endWidth;

  // The position bar spans both columns; the record panel holds it, and the
  // last record box and the kind boxes move right as far as it grows.
  const int barLeft = std::min(w.CurrentPos->x(), startLeft);
  const int barRight = std::max(w.CurrentPos->geometry().right() + 1, endRight);
  SetLeftWidth(w.CurrentPos, barLeft, barRight - barLeft);
  const int panelGrowth = std::max(0, barRight + kMargin - w.RecPanel->width());
  w.RecPanel->resize(w.RecPanel->width() + panelGrowth, w.RecPanel->height());
  w.LastBox->move(w.LastBox->x() + panelGrowth, w.LastBox->y());
  const int boxesLeft = w.LastBox->geometry().right() + 1 + 8;
  for (QCheckBox* box : {w.TimerRecBox, w.ActiveRecBox, w.MoveRecBox, w.HistRecBox})
    if (box->x() < boxesLeft) box->move(boxesLeft, box->y());

  // The speed readout, above the position bar, starts over the speed row
  // and reaches the last record box.
  const int readoutLeft = w.RecPanel->x() + w.RealTimeBtn->x();
  SetLeftWidth(w.SpeedLabel, readoutLeft, w.LastBox->x() - kMargin - readoutLeft);
}
