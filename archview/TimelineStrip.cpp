// The timeline strip: its parts, what it looks at, and its hint.

#include "archview/TimelineStrip.h"

#include <QEvent>
#include <QHelpEvent>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <algorithm>
#include <cmath>

#include "archview/ArchCaptions.h"
#include "archview/ArchView.h"
#include "archview/PlayGlyphs.h"
#include "archview/PlaybackState.h"
#include "archview/TimelineFeed.h"
#include "common/CameraMask.h"

namespace {

constexpr QSize ButtonSize(26, 24);

}  // namespace

TTimelineStrip::TTimelineStrip(TArchView& window, const TTimelineFeed& feed)
    : QFrame(&window), window_(window), feed_(feed) {
  setObjectName(QStringLiteral("TimelineStrip"));
  setFixedHeight(StripHeight);
  setMouseTracking(true);
  QFont font = this->font();
  font.setPixelSize(10);
  setFont(font);

  const auto button = [this](const char* name, const char* hint, PlayGlyph glyph, int left) {
    auto* b = new QToolButton(this);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(QString::fromUtf8(hint));
    b->setIcon(MakePlayGlyph(glyph));
    b->setIconSize(QSize(16, 16));
    b->setFocusPolicy(Qt::NoFocus);
    b->setGeometry(QRect(QPoint(left, (StripHeight - ButtonSize.height()) / 2), ButtonSize));
    return b;
  };
  PreviousEventBtn = button("PreviousEventBtn", "Предыдущее событие", PlayGlyph::PreviousEvent, 4);
  NextEventBtn = button("NextEventBtn", "Следующее событие", PlayGlyph::NextEvent,
                        4 + ButtonSize.width() + 2);

  poll_ = new QTimer(this);
  poll_->setInterval(PollMs);
  connect(poll_, &QTimer::timeout, this, [this] { Poll(); });
  // Each showing starts with the whole archive in view.
  connect(&feed, &TTimelineFeed::Started, this, [this] { scale_.ShowWhole(); });
  connect(&feed, &TTimelineFeed::Changed, this, [this] {
    UpdateExtent();
    update();
  });
}

QRect TTimelineStrip::CanvasRect() const {
  return QRect(CanvasLeft, 0, std::max(1, width() - CanvasLeft - CanvasRight), height());
}

QRect TTimelineStrip::LanesRect() const {
  const QRect canvas = CanvasRect().adjusted(1, 1, -1, -1);
  return QRect(canvas.left(), RulerHeight + 1, canvas.width(), canvas.bottom() - RulerHeight);
}

double TTimelineStrip::TimeAtX(double x) const {
  const QRect lanes = LanesRect();
  return scale_.TimeAt(x - lanes.left(), lanes.width());
}

double TTimelineStrip::XOfTime(double time) const {
  const QRect lanes = LanesRect();
  return lanes.left() + scale_.XOf(time, lanes.width());
}

std::vector<int> TTimelineStrip::LaneCameras() const {
  std::vector<int> cameras;
  for (int camera = 0; camera < CameraCount; ++camera)
    if (CameraWanted(CameraMask, camera)) cameras.push_back(camera);
  return cameras;
}

QRect TTimelineStrip::LaneRect(int lane, int lanes) const {
  // Whole pixels shared out evenly: every lane gets at least one while
  // there are no more lanes than pixels.
  const QRect area = LanesRect();
  const int top = area.top() + lane * area.height() / lanes;
  const int bottom = area.top() + (lane + 1) * area.height() / lanes;
  return QRect(area.left(), top, area.width(), std::max(1, bottom - top));
}

int TTimelineStrip::LaneAt(int y) const {
  const int lanes = int(LaneCameras().size());
  for (int lane = 0; lane < lanes; ++lane) {
    const QRect r = LaneRect(lane, lanes);
    if (y >= r.top() && y <= r.bottom()) return lane;
  }
  return -1;
}

TTimelineStrip::Shown TTimelineStrip::ShownNow() const {
  return {CameraMask, KindMask, window_.IntervalStart(), window_.IntervalEnd(), FirstRecordTime,
          LastRecordTime};
}

void TTimelineStrip::UpdateExtent() {
  double first = 0.0, last = 0.0;
  const bool runs = feed_.Runs().Extent(first, last);
  // The bounds are 0 while nothing is open or the archive is empty.
  if (LastRecordTime >= FirstRecordTime && LastRecordTime > 0.0) {
    first = runs ? std::min(first, FirstRecordTime) : FirstRecordTime;
    last = runs ? std::max(last, LastRecordTime) : LastRecordTime;
  } else if (!runs) {
    scale_.SetExtent(1.0, 0.0);  // nothing to show
    return;
  }
  scale_.SetExtent(first, last);
}

int TTimelineStrip::PositionColumn() const {
  if (!scale_.HasExtent()) return -1;
  const double x = XOfTime(PlaybackTime);
  const QRect lanes = LanesRect();
  if (!(x >= lanes.left() && x < lanes.right() + 1)) return -1;
  return int(x);
}

void TTimelineStrip::Poll() {
  const Shown now = ShownNow();
  if (!(now == shown_)) {
    shown_ = now;
    UpdateExtent();
    update();
  }
  const int before = positionColumn_;
  int column = PositionColumn();
  // A line that walks off a zoomed strip while it plays, or a position that
  // leaps (a jump, a click that lands beyond a gap), brings the stretch
  // around it in; a line the operator panned away from stays outside.
  const bool leapt = std::abs(PlaybackTime - polledTime_) > scale_.Span() / 2;
  polledTime_ = PlaybackTime;
  if (column < 0 && (before >= 0 || leapt) && drag_ == Drag::None && !scale_.Whole() &&
      scale_.HasExtent()) {
    const bool ahead = PlaybackTime > scale_.To();
    scale_.Place(PlaybackTime, ahead ? 0.1 : 0.9);
    column = PositionColumn();
    positionColumn_ = column;
    update();
    return;
  }
  if (column == before) return;
  positionColumn_ = column;
  const QRect lanes = LanesRect();
  for (int x : {before, column})
    if (x >= 0) update(QRect(x - 6, 0, 14, lanes.bottom() + 2));  // the line and its mark
}

QString TTimelineStrip::HintAt(QPoint pos) const {
  const QRect lanes = LanesRect();
  if (!scale_.HasExtent() || pos.x() < lanes.left() || pos.x() > lanes.right()) return {};
  const double time = TimeAtX(pos.x());
  const int lane = LaneAt(pos.y());
  if (lane < 0) return DateTimeText(time);
  const int camera = LaneCameras()[std::size_t(lane)];
  // The kinds anywhere in the pixel's column.
  const std::uint32_t kinds =
      feed_.Runs().KindsBetween(camera, TimeAtX(pos.x()), TimeAtX(pos.x() + 1)) & KindMask;
  QString hint = CellHintText(camera, time, kinds, false);
  if (kinds == 0) hint += QStringLiteral("  ") + NoRecordCaption();
  return hint;
}

void TTimelineStrip::ShowHint(QPoint pos, QPoint global) {
  const QString hint = HintAt(pos);
  if (hint.isEmpty())
    QToolTip::hideText();
  else
    QToolTip::showText(global, hint, this);
}

bool TTimelineStrip::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    ShowHint(help->pos(), help->globalPos());
    return true;
  }
  return QFrame::event(event);
}

void TTimelineStrip::showEvent(QShowEvent* event) {
  QFrame::showEvent(event);
  Poll();
  poll_->start();
}

void TTimelineStrip::hideEvent(QHideEvent* event) {
  poll_->stop();
  QFrame::hideEvent(event);
}
