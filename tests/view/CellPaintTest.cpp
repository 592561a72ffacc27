// How cell pictures reach the screen: a new frame is painted, not an old
// scaled copy; a cell without a picture lets its panel show; a hidden cell
// is not painted; frames coming faster than the screen shows pictures are
// painted less often, and the last one always is.

#include "tests/view/ViewRig.h"

namespace {

// Notes every paint of a picture control and which bitmap it painted.
class PaintRecorder final : public QObject {
 public:
  explicit PaintRecorder(TCellImage* image) : image_(image) { image->installEventFilter(this); }
  int paints = 0;
  qint64 lastPainted = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++paints;
      lastPainted = image_->Bitmap().cacheKey();
    }
    return false;
  }

 private:
  TCellImage* image_;
};

// A frame as the decoder leaves it, in one colour (0 in the fourth byte).
void Decoded(TCellImage* image, QRgb colour) {
  QImage& bitmap = image->Bitmap();
  if (bitmap.size() != QSize(704, 576)) bitmap = QImage(704, 576, QImage::Format_RGB32);
  bitmap.fill(colour & 0x00FFFFFFu);
  image->Repaint();
}

QRgb Middle(QWidget* w) {
  const QImage shot = w->grab().toImage();
  return shot.pixel(shot.width() / 2, shot.height() / 2) & 0x00FFFFFFu;
}

using CellPaint = ViewTest;

TEST_F(CellPaint, EachNewFrameIsPaintedAndAnEmptiedCellShowsItsPanel) {
  TCellImage* image = view->CellImages[0];
  Decoded(image, qRgb(200, 0, 0));
  EXPECT_TRUE(image->testAttribute(Qt::WA_OpaquePaintEvent));  // the panel is not painted under it
  EXPECT_EQ(Middle(image), qRgb(200, 0, 0) & 0x00FFFFFFu);
  Decoded(image, qRgb(0, 0, 200));  // same size: only the bitmap's contents change
  EXPECT_EQ(Middle(image), qRgb(0, 0, 200) & 0x00FFFFFFu);

  image->Clear();
  EXPECT_FALSE(image->testAttribute(Qt::WA_OpaquePaintEvent));
  EXPECT_NE(Middle(Cell(0)), qRgb(0, 0, 200) & 0x00FFFFFFu);
}

TEST_F(CellPaint, HiddenCellIsNotPainted) {
  ASSERT_FALSE(Cell(20)->isVisible());
  PaintRecorder hidden(view->CellImages[20]);
  Decoded(view->CellImages[20], qRgb(0, 200, 0));
  QTest::qWait(50);
  EXPECT_EQ(hidden.paints, 0);
}

TEST_F(CellPaint, FramesFasterThanTheScreenArePaintedLessOftenAndTheLastOneIs) {
  TCellImage* image = view->CellImages[5];
  PaintRecorder recorder(image);
  // As a run does: a frame, then the pending events, thirty times, far
  // faster than a screen shows pictures.
  const int frames = 30;
  for (int i = 0; i < frames; ++i) {
    Decoded(image, qRgb(i * 8, 100, 0));
    QApplication::processEvents();
  }
  // Held back at most one screen picture; a second is plenty on any machine.
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return recorder.lastPainted == image->Bitmap().cacheKey(); }, 1000));
  EXPECT_LE(recorder.paints, frames / 2);
}

}  // namespace
