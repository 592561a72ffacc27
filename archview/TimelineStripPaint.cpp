// The timeline strip's painting: ruler, interval, lanes, marking, progress
// and position.

#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

#include "archview/ArchView.h"
#include "archview/PlaybackState.h"
#include "archview/TimelineFeed.h"
#include "archview/TimelineRuler.h"
#include "archview/TimelineStrip.h"
#include "view/KindColours.h"

namespace {

const QColor kRulerBack(236, 236, 236);
const QColor kLaneBack(252, 252, 252);
const QColor kLaneStripe(0, 0, 0, 14);
const QColor kInterval(40, 110, 220, 16);
const QColor kIntervalRuler(40, 110, 220, 60);
const QColor kIntervalEdge(40, 110, 220, 150);
const QColor kGrid(0, 0, 0, 30);
const QColor kTick(90, 90, 90);
const QColor kLabel(40, 40, 40);
const QColor kMarking(40, 110, 220, 70);
const QColor kProgress(0, 120, 215);
const QColor kPosition(20, 20, 20);
// Room between two labels of the ruler, in pixels.
constexpr int kLabelGap = 14;

}  // namespace

void TTimelineStrip::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect canvas = CanvasRect();
  p.setPen(palette().color(QPalette::Mid));
  p.setBrush(Qt::NoBrush);
  p.drawRect(canvas.adjusted(0, 0, -1, -1));
  const QRect inner = canvas.adjusted(1, 1, -1, -1);
  const QRect lanes = LanesRect();
  p.fillRect(QRect(inner.left(), inner.top(), inner.width(), RulerHeight), kRulerBack);
  p.fillRect(lanes, kLaneBack);
  if (!scale_.HasExtent()) return;
  p.setClipRect(inner);

  const double start = window_.IntervalStart(), end = window_.IntervalEnd();
  if (start <= end) {
    const double x0 = XOfTime(start), x1 = XOfTime(end);
    // Plain on the ruler, faint over the lanes, so the runs keep their colours.
    const double width = std::max(1.0, x1 - x0);
    p.fillRect(QRectF(x0, inner.top(), width, RulerHeight), kIntervalRuler);
    p.fillRect(QRectF(x0, lanes.top(), width, lanes.height()), kInterval);
    p.setPen(kIntervalEdge);
    for (double x : {x0, x1}) p.drawLine(QPointF(x, inner.top()), QPointF(x, inner.bottom()));
  }
  PaintLanes(p);
  PaintRuler(p);
  if (drag_ == Drag::Mark) {
    const double x0 = XOfTime(markFrom_), x1 = XOfTime(markTo_);
    p.fillRect(QRectF(std::min(x0, x1), inner.top(), std::abs(x1 - x0), inner.height()), kMarking);
  }
  if (feed_.Progress() >= 0.0)
    p.fillRect(QRectF(inner.left(), RulerHeight - 1, inner.width() * feed_.Progress(), 2),
               kProgress);
  PaintPosition(p);
}

void TTimelineStrip::PaintRuler(QPainter& p) const {
  const QRect lanes = LanesRect();
  const QFontMetrics metrics(font());
  const double span = scale_.Span();
  double step = RulerStepSeconds(span, lanes.width(),
                                 metrics.horizontalAdvance(QStringLiteral("00:00")) + kLabelGap);
  if (step < 60)
    step = RulerStepSeconds(span, lanes.width(),
                            metrics.horizontalAdvance(QStringLiteral("00:00:00")) + kLabelGap);
  QFont bold = font();
  bold.setBold(true);
  const int baseline = (RulerHeight + metrics.ascent()) / 2;
  for (const RulerTick& tick : RulerTicks(scale_.From(), scale_.To(), step)) {
    const double x = std::floor(XOfTime(tick.time)) + 0.5;
    p.setPen(kGrid);
    p.drawLine(QPointF(x, lanes.top()), QPointF(x, lanes.bottom()));
    p.setPen(kTick);
    p.drawLine(QPointF(x, tick.dayStart ? 1 : RulerHeight - 5), QPointF(x, RulerHeight));
    p.setFont(tick.dayStart ? bold : font());
    // A label cut by the strip's end would be misread: it is left out.
    if (x + 3 + QFontMetrics(p.font()).horizontalAdvance(tick.label) > lanes.right()) continue;
    p.setPen(kLabel);
    p.drawText(QPointF(x + 3, baseline), tick.label);
  }
  p.setFont(font());
  p.setPen(kTick);
  p.drawLine(QPointF(lanes.left(), RulerHeight + 0.5), QPointF(lanes.right() + 1, RulerHeight + 0.5));
}

void TTimelineStrip::PaintLanes(QPainter& p) const {
  const std::vector<int> cameras = LaneCameras();
  const int count = int(cameras.size());
  for (int lane = 0; lane < count; ++lane) {
    const QRect r = LaneRect(lane, count);
    // Stripes tell lanes apart where they are tall enough to need it.
    if (lane % 2 == 1 && r.height() >= 3) p.fillRect(r, kLaneStripe);
    // A pixel left free under each lane tall enough keeps neighbouring
    // cameras apart where both recorded.
    PaintLane(p, cameras[std::size_t(lane)], r.height() >= 3 ? r.adjusted(0, 0, 0, -1) : r);
  }
}

void TTimelineStrip::PaintLane(QPainter& p, int camera, const QRect& lane) const {
  const TimelineRuns& runs = feed_.Runs();
  const double to = scale_.To();
  const int right = lane.right();
  for (std::uint32_t kind : KindsQuietFirst) {
    if ((KindMask & kind) == 0) continue;
    const QColor colour = KindColour(kind);
    // One rectangle per run, or per pixel column where runs crowd: the next
    // run looked for is the one at the next column.
    double time = scale_.From();
    while (const std::optional<TimelineRun> run = runs.RunFrom(camera, kind, time)) {
      if (run->first > to) break;
      // Bounded before the conversion: far outside, a column would not fit
      // an int.
      const auto column = [&](double t) {
        return int(std::floor(std::clamp(XOfTime(t), lane.left() - 1.0, right + 1.0)));
      };
      const int x0 = std::max(lane.left(), column(run->first));
      const int x1 = std::min(right, column(run->last));
      if (x1 >= x0) p.fillRect(QRect(x0, lane.top(), x1 - x0 + 1, lane.height()), colour);
      if (x1 >= right) break;
      time = std::max(TimeAtX(x1 + 1), std::nextafter(run->last, run->last + 1.0));
    }
  }
}

void TTimelineStrip::PaintPosition(QPainter& p) const {
  const int column = PositionColumn();
  if (column < 0) return;
  const QRect lanes = LanesRect();
  p.fillRect(QRect(column, 1, 2, lanes.bottom()), kPosition);
  p.setPen(Qt::NoPen);
  p.setBrush(kPosition);
  p.setRenderHint(QPainter::Antialiasing);
  p.drawPolygon(QPolygonF({QPointF(column - 4, 1), QPointF(column + 6, 1),
                           QPointF(column + 1, 7)}));
  p.setRenderHint(QPainter::Antialiasing, false);
}
