#pragma once
// TTimelineStrip: the timeline across the playback window, between the grid
// and the archive panel. A ruler whose labels fit the zoom, one lane per
// visible camera (thinner as cameras are added, at least a pixel each), each
// coloured by kind where it has records of a kind the boxes let through
// (view/KindColours.h), the interval from the pickers shaded, the position
// as a line that follows playback, and a thin progress mark while the runs
// are still being read (archview/TimelineFeed.h). The two buttons at its
// left jump to the previous and the next event (archview/EventJump.h).
//
// Mouse: a click goes to that time; the wheel zooms around the pointer, from
// the whole archive down to a minute across; a drag pans; a drag with Shift
// marks an interval; a double click shows the whole archive again. The hint
// names the time under the pointer, and over a lane the camera and the kinds
// there, as a cell's hint does.
//
// It only shows: the window moves the position and sets the interval on its
// signals. It looks at the position, the masks, the interval and the
// archive's bounds a few times a second, and repaints what they changed.

#include <QFrame>

#include <cstdint>
#include <vector>

#include "archview/TimelineScale.h"

class QTimer;
class QToolButton;
class TArchView;
class TTimelineFeed;

class TTimelineStrip final : public QFrame {
  Q_OBJECT

 public:
  static constexpr int StripHeight = 62;
  static constexpr int RulerHeight = 16;
  // The buttons' column at the left, and the margin at the right.
  static constexpr int CanvasLeft = 62;
  static constexpr int CanvasRight = 6;
  // How often it looks at the position, in milliseconds.
  static constexpr int PollMs = 40;
  // A wheel notch zooms in or out by this factor.
  static constexpr double NotchZoom = 2.0;

  // A child of the window, showing the feed's runs.
  TTimelineStrip(TArchView& window, const TTimelineFeed& feed);

  QToolButton* PreviousEventBtn = nullptr;  // "Предыдущее событие"
  QToolButton* NextEventBtn = nullptr;      // "Следующее событие"

  const TimelineScale& Scale() const { return scale_; }
  // Where the timeline is drawn (ruler and lanes), and its lanes alone.
  QRect CanvasRect() const;
  QRect LanesRect() const;
  // The time at x, and the x of a time, in the strip's coordinates.
  double TimeAtX(double x) const;
  double XOfTime(double time) const;
  // The cameras of the lanes, top to bottom: the visible ones.
  std::vector<int> LaneCameras() const;
  // The hint at a point of the strip; empty outside the timeline.
  QString HintAt(QPoint pos) const;
  // Looks at the window's state now and repaints what changed (the poll's
  // work, for tests that do not wait for it).
  void Poll();

 signals:
  void TimeClicked(double time);
  void IntervalMarked(double from, double to);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  // What the strip shows besides the runs; a change repaints it all.
  struct Shown {
    std::uint32_t cameras = 0;
    std::uint32_t kinds = 0;
    double intervalStart = 0.0;
    double intervalEnd = 0.0;
    double first = 0.0;
    double last = 0.0;
    bool operator==(const Shown&) const = default;
  };
  Shown ShownNow() const;
  // The archive's extent from its bounds and the runs found.
  void UpdateExtent();
  // The position line's column, -1 when it lies outside the timeline.
  int PositionColumn() const;
  // The lane under y, -1 for none.
  int LaneAt(int y) const;
  QRect LaneRect(int lane, int lanes) const;
  // Painting (TimelineStripPaint.cpp).
  void PaintRuler(class QPainter& p) const;
  void PaintLanes(QPainter& p) const;
  void PaintLane(QPainter& p, int camera, const QRect& lane) const;
  void PaintPosition(QPainter& p) const;
  void ShowHint(QPoint pos, QPoint global);

  TArchView& window_;
  const TTimelineFeed& feed_;
  TimelineScale scale_;
  QTimer* poll_ = nullptr;
  Shown shown_;
  int positionColumn_ = -1;
  double polledTime_ = 0.0;  // the position at the last look
  // The mouse: a press that may still become a click, a pan or a marking.
  enum class Drag { None, Pending, Pan, Mark };
  Drag drag_ = Drag::None;
  QPoint pressPos_;
  int lastX_ = 0;
  bool shiftPress_ = false;
  double markFrom_ = 0.0;
  double markTo_ = 0.0;
};
