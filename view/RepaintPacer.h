#pragma once
// RepaintPacer: a window repaints at most as often as its screen shows a new
// picture. Qt paints a window's changed widgets when the window takes an
// update request from its queue; during playback the engine lets the queue
// run after every record, so without this every decoded frame, and every
// move of the position bar, would be painted at once, hundreds of times a
// second, although a screen shows some sixty pictures a second. A request
// that comes sooner than one screen picture after the last paint is held
// back and made when the next picture is due: everything changed meanwhile
// is painted then, once, in its latest state, and nothing is left unpainted.
// (A synchronous QWidget::repaint is paced the same way.)

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWidget;

class RepaintPacer : public QObject {
  Q_OBJECT

 public:
  // Watches window's update requests; owned by window.
  explicit RepaintPacer(QWidget* window);

  // How long one picture of the window's screen lasts, in nanoseconds.
  qint64 FrameInterval() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Makes the held-back request.
  void PaintNow();

  QWidget* window_;
  QElapsedTimer sincePaint_;
  QTimer due_;
  bool passing_ = false;
};
