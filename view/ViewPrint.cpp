// TView: printing the grid (PrintItem, while playback is frozen). The grid
// is captured in full screen without the command strip, given a caption
// strip with the window caption and the cameras shown, and printed on one A4
// portrait page.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFrame>
#include <QGuiApplication>
#include <QLayout>
#include <QPainter>
#include <QPrinter>
#include <QTimer>

#include "platform/qt/PlatformServices.h"
#include "view/CellImage.h"
#include "view/PictureCaptions.h"
#include "view/View.h"

namespace {

// The page, in millimetres: 10 mm margins, the title band at the top left
// of the printable area, the framed picture box inside the band.
constexpr double kMarginMm = 10.0;
constexpr double kBoxLeftMm = 5.29;
constexpr double kBoxTopMm = 5.29;
constexpr double kBoxWidthMm = 179.92;
constexpr double kBoxHeightMm = 134.94;
// A thin frame that still shows on paper.
constexpr double kFrameMm = 0.25;
// How long a window manager may take to maximise the window.
constexpr int kMaximiseWaitMs = 1000;

// The report's own printer settings: one A4 portrait page, one copy,
// single-sided, the page measured from the paper's corner.
void SetUpPage(QPrinter& printer) {
  printer.setDocName(QStringLiteral("Orx Print"));
  printer.setFullPage(true);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setCopyCount(1);
  printer.setDuplex(QPrinter::DuplexNone);
  printer.setPaperSource(QPrinter::Auto);
}

void PrintPage(QPrinter& printer, const QImage& picture) {
  QPainter painter;
  if (!painter.begin(&printer)) return;  // no printer: nothing to tell
  const double dotsPerMm = printer.resolution() / 25.4;
  const QRectF box((kMarginMm + kBoxLeftMm) * dotsPerMm, (kMarginMm + kBoxTopMm) * dotsPerMm,
                   kBoxWidthMm * dotsPerMm, kBoxHeightMm * dotsPerMm);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(box, picture);  // stretched, the aspect ratio not kept
  QPen frame(Qt::black);
  frame.setWidthF(kFrameMm * dotsPerMm);
  frame.setJoinStyle(Qt::MiterJoin);
  painter.setPen(frame);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(box);
}

// The wait cursor stands for the progress window while the page is made.
class BusyCursor {
 public:
  BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

// The cells paint their whole pictures with nothing over them while the
// grid is captured: the page shows the pictures as they are.
class PlainCells {
 public:
  explicit PlainCells(const std::array<TCellImage*, CellCount>& images) : images_(images) {
    Set(true);
  }
  ~PlainCells() { Set(false); }
  PlainCells(const PlainCells&) = delete;
  PlainCells& operator=(const PlainCells&) = delete;

 private:
  void Set(bool plain) {
    for (TCellImage* image : images_)
      if (image) image->SetPlain(plain);
  }
  const std::array<TCellImage*, CellCount>& images_;
};

}  // namespace

void TView::PrintItemClick() {
  QPrinter printer(QPrinter::HighResolution);
  SetUpPage(printer);
  if (!Platform().Print(this, printer)) return;
  SetUpPage(printer);
  BusyCursor busy;

  const QSize normalSize = size();
  const bool enterFullScreen = !IsFullScreen();
  // Virtual: a derived window's own full-screen handler runs.
  if (enterFullScreen) SizeItemClick();
  CommandPanel->hide();
  WaitForCaptureSize(enterFullScreen ? normalSize : QSize());

  // The client area is the grid alone now, its cells re-placed for its size.
  QImage grid;
  {
    const PlainCells plain(CellImages);
    grid = grab(rect()).toImage().convertToFormat(QImage::Format_RGB888);
  }
  QRImage = grid;
  // 1.1 times as high, truncated.
  AddCaptionStrip(QRImage, grid.height() * 11 / 10 - grid.height(),
                  PrintCaption(windowTitle(), VisibleCameras()), grid.width() / 60);
  PrintPage(printer, QRImage);

  CommandPanel->show();
  if (enterFullScreen) SizeItemClick();
}

void TView::WaitForCaptureSize(QSize sizeBefore) {
  layout()->activate();
  if (!sizeBefore.isValid()) return;
  // A window manager maximises a moment later. The operator's input waits
  // meanwhile, so nothing closes or rearranges the window under the print.
  QEventLoop loop;
  QElapsedTimer waited;
  waited.start();
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (size() != sizeBefore || waited.elapsed() >= kMaximiseWaitMs) loop.quit();
  });
  poll.start();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  if (size() == sizeBefore) loop.exec(QEventLoop::ExcludeUserInputEvents);
  layout()->activate();
}
