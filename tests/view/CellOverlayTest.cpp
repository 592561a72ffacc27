// What a cell shows over its picture and what it keeps of its frame: the
// caption and its switch, the damaged-frame mark, none of it in saved or
// printed pictures, the stored frame saved as it is, and the keys of saving
// and printing.

#include "tests/view/ViewRig.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolButton>

#include "common/DateTime.h"
#include "common/RecordKind.h"
#include "platform/qt/LocaleFormats.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "view/CellCaption.h"

namespace {

const QColor kPicture(20, 60, 200);
const double kTime = MakeDateTime(2001, 5, 17, 9, 7, 3, 250);

class CellOverlay : public ViewTest {
 protected:
  CellOverlay()
      : platform(dir.path()),
        installed(platform),
        formats(QStringLiteral("dd.MM.yyyy"), QStringLiteral("H:mm:ss"), {}) {
    InstallLocaleFormats(&formats);
  }
  ~CellOverlay() override { InstallLocaleFormats(nullptr); }

  // Camera cell's picture: one colour, told of as a frame of kinds.
  TCellImage* Frame(int cell, std::uint32_t kinds = KindContinuous, bool decoded = true,
                    std::vector<std::uint8_t> bytes = {0xFF, 0xD8, 1, 2, 3, 0xFF, 0xD9}) {
    TCellImage* image = view->CellImages[cell];
    image->Bitmap() = QImage(320, 240, QImage::Format_RGB32);
    image->Bitmap().fill(kPicture);
    image->Repaint();
    image->TakeFrame(bytes, kTime, kinds, decoded);
    view->CellTime[cell] = kTime;
    return image;
  }
  static QImage Shot(QWidget* w) { return w->grab().toImage(); }
  // Whether the rectangle of image has pixels other than the picture's.
  static bool Marked(const QImage& image, QRect r) {
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        if (image.pixelColor(x, y) != kPicture) return true;
    return false;
  }

  QTemporaryDir dir;
  ScriptedPlatform platform;
  ScopedPlatform installed;
  FixedLocaleFormats formats;
};

}  // namespace

TEST(CellCaptionText, CameraTimeDateAndMarks) {
  const FixedLocaleFormats formats(QStringLiteral("dd.MM.yyyy"), QStringLiteral("H:mm:ss"), {});
  InstallLocaleFormats(&formats);
  struct Row {
    int camera;
    bool withDate;
    const char* text;
  };
  for (const Row& r : {Row{7, false, "7  09:07:03"}, Row{32, true, "32  17.05.2001 09:07:03"}})
    EXPECT_EQ(CellCaptionText(r.camera, kTime, r.withDate), QString::fromUtf8(r.text));
  InstallLocaleFormats(nullptr);
  struct Marks {
    std::uint32_t kinds;
    std::size_t count;
  };
  for (const Marks& m : {Marks{KindContinuous, 0}, Marks{KindMotionHistory, 0}, Marks{KindMotion, 1},
                         Marks{KindActivity | KindContinuous, 1}, Marks{KindAll, 2}})
    EXPECT_EQ(CaptionMarks(m.kinds).size(), m.count) << m.kinds;
  EXPECT_EQ(CaptionMarks(KindAll)[0], CaptionMarks(KindMotion)[0]);  // motion first
}

TEST_F(CellOverlay, CaptionIsDrawnOverThePictureNeverIntoItAndSwitchesForAllCells) {
  TCellImage* image = Frame(0, KindMotion);
  const QImage bitmap = image->Bitmap();
  EXPECT_EQ(image->CaptionText(), QStringLiteral("1  09:07:03"));
  const QImage shot = Shot(image);
  const QRect corner(0, shot.height() - 12, 40, 12);
  EXPECT_TRUE(Marked(shot, corner));
  EXPECT_EQ(image->Bitmap(), bitmap);
  view->SetCaptionDates(true);
  EXPECT_EQ(image->CaptionText(), QStringLiteral("1  17.05.2001 09:07:03"));

  // Off for every cell, and kept in OrxViewer.cfg.
  Frame(5);
  view->CaptionBtn->click();
  EXPECT_TRUE(image->CaptionText().isEmpty());
  EXPECT_TRUE(view->CellImages[5]->CaptionText().isEmpty());
  EXPECT_FALSE(Marked(Shot(image), corner));
  EXPECT_EQ(QSettings(dir.filePath(QStringLiteral("OrxViewer.cfg")), QSettings::IniFormat)
                .value(QStringLiteral("View/Captions"))
                .toInt(),
            0);
  CountingView again(layouts);
  EXPECT_FALSE(again.CaptionBtn->isChecked());
}

TEST_F(CellOverlay, DamagedFrameMarksTheCellUntilAGoodOne) {
  TCellImage* image = Frame(2, KindContinuous, false);
  EXPECT_TRUE(image->Damaged());
  const QImage shot = Shot(image);
  EXPECT_EQ(shot.pixelColor(shot.width() - 3, 2), QColor(220, 0, 0));
  Frame(2);
  EXPECT_FALSE(image->Damaged());
  EXPECT_EQ(Shot(image).pixelColor(shot.width() - 3, 2), kPicture);
}

TEST_F(CellOverlay, PrintedAndSavedPicturesCarryNoneOfIt) {
  TCellImage* image = Frame(0, KindMotion, false);
  image->ZoomAt(QPointF(10, 10), 4.0);
  platform.printFile = dir.filePath(QStringLiteral("page.pdf"));
  platform.printAnswers.push_back(true);
  view->PrintItemClick();
  // The cell in the captured grid: its first of 4 x 4 places, its frame aside.
  const QSize grid(view->QRImage.width(), view->QRImage.height() * 10 / 11);
  EXPECT_FALSE(Marked(view->QRImage, QRect(QPoint(0, 0), grid / 4).adjusted(3, 3, -3, -3)));
  EXPECT_TRUE(image->Zoom().Zoomed());  // the screen keeps its zoom

  for (int i = 0; i < CellCount; ++i) Cell(i)->setVisible(i == 0);
  platform.saveAnswers.push_back(dir.filePath(QStringLiteral("x.bmp")));
  platform.questionAnswers.push_back(true);
  view->SaveClick();
  const QImage saved(dir.filePath(QStringLiteral("1_ [17] [5] [2001] 9-7-3250.bmp")));
  ASSERT_EQ(saved.size(), QSize(320, 270));
  EXPECT_FALSE(Marked(saved, QRect(0, 0, 320, 240)));
}

TEST_F(CellOverlay, StoredFrameIsSavedAsTheArchiveHoldsItNamedLikeTheBitmap) {
  for (int i = 0; i < CellCount; ++i) Cell(i)->setVisible(i < 3);
  const std::vector<std::uint8_t> bytes{0xFF, 0xD8, 0x00, 0x7F, 0xFF, 0xD9};
  Frame(0, KindContinuous, true, bytes);
  Frame(1, KindContinuous, false, {0xFF, 0xD8, 0xAA});  // a damaged one is kept too
  view->CellImages[2]->Bitmap() = QImage(8, 8, QImage::Format_RGB32);  // no frame told of
  platform.saveAnswers.push_back(dir.filePath(QStringLiteral("x.jpg")));
  platform.saveTypeAnswers.push_back(1);
  platform.questionAnswers.push_back(true);
  view->SaveClick();
  EXPECT_EQ(platform.questions.back().text, QStringLiteral("Сохранить   2 файл(а,ов) ?"));
  QFile file(dir.filePath(QStringLiteral("1_ [17] [5] [2001] 9-7-3250.jpg")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray(reinterpret_cast<const char*>(bytes.data()), 6));
  EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("2_ [17] [5] [2001] 9-7-3250.jpg"))));
  EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.bmp")}).size(), 0);
}

TEST_F(CellOverlay, KeysSaveAndPrintExactlyWhenTheEntriesAreEnabled) {
  EXPECT_EQ(view->SaveItem->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
  EXPECT_EQ(view->PrintItem->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
  view->activateWindow();
  QApplication::setActiveWindow(view.get());
  const auto press = [&](Qt::Key key) {
    QTest::keyClick(view.get(), key, Qt::ControlModifier);
    QApplication::processEvents();
  };
  press(Qt::Key_S);
  press(Qt::Key_P);
  EXPECT_TRUE(platform.saveCalls.empty());
  EXPECT_EQ(platform.printCalls, 0);
  view->SaveItem->setEnabled(true);
  view->PrintItem->setEnabled(true);
  press(Qt::Key_S);
  press(Qt::Key_P);
  EXPECT_EQ(platform.saveCalls.size(), 1u);
  EXPECT_EQ(platform.printCalls, 1);
}
