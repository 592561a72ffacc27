// Printing the grid: full screen for the capture and back, the picture with
// its caption strip, and the A4 page as the printer gets it (a PDF,
// rendered with poppler's pdftoppm and looked at pixel by pixel).

#include "tests/view/ViewRig.h"

#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWindow>

#include "platform/scripted/ScriptedPlatform.h"
#include "view/PictureCaptions.h"

namespace {

class ViewPrintTest : public ViewTest {
 protected:
  ViewPrintTest() : installed(platform) {
    platform.printFile = dir.filePath(QStringLiteral("page.pdf"));
  }
  void SetUp() override {
    ViewTest::SetUp();
    for (int i = 0; i < CellCount; ++i) {
      view->CellImages[i]->Bitmap() = QImage(64, 48, QImage::Format_RGB32);
      view->CellImages[i]->Bitmap().fill(QColor(20, 60, 200));
    }
  }
  void Print(bool confirmed = true) {
    platform.printAnswers.push_back(confirmed);
    view->PrintItemClick();
    QApplication::processEvents();
  }
  // Runs a poppler tool; its standard output.
  QString Run(const QString& tool, const QStringList& arguments) const {
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
  }
  QImage RenderedPage() const {
    const QString png = dir.filePath(QStringLiteral("page"));
    Run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-png"),
         QStringLiteral("-singlefile"), platform.printFile, png});
    return QImage(png + QStringLiteral(".png"));
  }
  static int Px(double mm) { return static_cast<int>(mm * kDpi / 25.4 + 0.5); }
  static constexpr int kDpi = 100;

  QTemporaryDir dir;
  ScriptedPlatform platform;
  ScopedPlatform installed;
};

bool Dark(QColor c) { return qGray(c.rgb()) < 100; }
bool White(QColor c) { return qGray(c.rgb()) > 240; }
// Whether some pixel of the rectangle is dark.
bool AnyDark(const QImage& page, QRect r) {
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (Dark(page.pixelColor(x, y))) return true;
  return false;
}

}  // namespace

using ViewPrint = ViewPrintTest;

TEST_F(ViewPrint, FromTheNormalWindowCapturesTheFullScreenGridAndComesBack) {
  const QSize normal = view->size();
  Print();
  EXPECT_EQ(platform.printCalls, 1);
  EXPECT_EQ(view->sizeItemClicks, 2);
  EXPECT_FALSE(view->isMaximized());
  EXPECT_EQ(view->size(), normal);
  EXPECT_TRUE(view->CommandPanel->isVisible());
  EXPECT_TRUE(view->TabPanel->isVisible());
  // The grid alone at the size of the full screen, 1.1 times as high with
  // the strip; the command strip is not in it.
  const QMargins frame = view->windowHandle()->frameMargins();
  const QSize client = view->screen()->availableGeometry().size() -
                       QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
  EXPECT_EQ(view->QRImage.size(), QSize(client.width(), client.height() * 11 / 10));
  EXPECT_EQ(view->QRImage.pixelColor(5, 5), QColor(20, 60, 200));
  EXPECT_TRUE(White(view->QRImage.pixelColor(client.width() - 2, view->QRImage.height() - 2)));
}

TEST_F(ViewPrint, FromFullScreenStaysThereAndCancelPrintsNothing) {
  Print(false);
  EXPECT_EQ(view->sizeItemClicks, 0);
  EXPECT_FALSE(QFile::exists(platform.printFile));
  view->FullBtn->click();
  QApplication::processEvents();
  Print();
  EXPECT_EQ(view->sizeItemClicks, 1);
  EXPECT_TRUE(view->isMaximized());
  EXPECT_TRUE(view->CommandPanel->isVisible());
  EXPECT_FALSE(view->TabPanel->isVisible());
  EXPECT_TRUE(QFile::exists(platform.printFile));
}

TEST_F(ViewPrint, OnlyCameras1To32AreListed) {
  for (int i = 0; i < CellCount; ++i) Cell(i)->setVisible(i == 0 || i == 1 || i == 4 || i == 32);
  EXPECT_EQ(view->VisibleCameras(), (std::vector<int>{1, 2, 5}));
  EXPECT_EQ(PrintCaption(QStringLiteral("Наблюдение"), view->VisibleCameras()),
            QStringLiteral("Наблюдение  Камера(ы) - 1,2,5,"));
}

TEST_F(ViewPrint, PageIsA4PortraitWithTheFramedPictureWhereTheReportPutsIt) {
  Print();
  const QString info = Run(QStringLiteral("pdfinfo"), {platform.printFile});
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))))
      << info.toStdString();
  EXPECT_TRUE(info.contains(QStringLiteral("(A4)"))) << info.toStdString();
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Title:\\s+Orx Print"))))
      << info.toStdString();

  const QImage page = RenderedPage();
  ASSERT_EQ(page.size(), QSize(827, 1170));  // 210 x 297 mm, portrait, rounded up
  // The box: 10 mm margin plus 5.29 mm into the band, 179.92 x 134.94 mm.
  const int left = Px(15.29), top = Px(15.29), right = Px(15.29 + 179.92),
            bottom = Px(15.29 + 134.94);
  const int midX = (left + right) / 2, midY = (top + bottom) / 2;
  // A thin black frame on all four sides, white paper outside it.
  EXPECT_TRUE(AnyDark(page, QRect(left - 1, midY, 3, 1)));
  EXPECT_TRUE(AnyDark(page, QRect(right - 1, midY, 3, 1)));
  EXPECT_TRUE(AnyDark(page, QRect(midX, top - 1, 1, 3)));
  EXPECT_TRUE(AnyDark(page, QRect(midX, bottom - 1, 1, 3)));
  for (const QPoint outside :
       {QPoint(left - 4, midY), QPoint(right + 4, midY), QPoint(midX, top - 4),
        QPoint(midX, bottom + 4), QPoint(midX, bottom + 40)})
    EXPECT_TRUE(White(page.pixelColor(outside))) << outside.x() << "," << outside.y();
  // The grid stretched over the box, the caption in the strip of its lowest
  // eleventh: ink at its left, paper at its right.
  const QColor grid = page.pixelColor(left + 10, top + 10);
  EXPECT_GT(grid.blue(), 150);
  EXPECT_LT(grid.red(), 80);
  const int strip = top + (bottom - top) * 10 / 11 + 2;
  EXPECT_TRUE(AnyDark(page, QRect(left + 3, strip, (right - left) / 3, bottom - strip - 3)));
  EXPECT_FALSE(AnyDark(page, QRect(right - 60, strip, 55, bottom - strip - 3)));
}
