// Saving the pictures of the visible cameras: the names, the question, the
// 24-bit BMP files with their caption strip, and what is not saved.

#include "tests/view/ViewRig.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/DateTime.h"
#include "platform/qt/LocaleFormats.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "view/PictureCaptions.h"

namespace {

class ViewSaveTest : public ViewTest {
 protected:
  ViewSaveTest()
      : installed(platform), formats(QStringLiteral("dd.MM.yyyy"), QStringLiteral("H:mm:ss"), {}) {
    InstallLocaleFormats(&formats);
  }
  ~ViewSaveTest() override { InstallLocaleFormats(nullptr); }

  // Shows exactly the given cells.
  void ShowOnly(std::initializer_list<int> cells) {
    for (int i = 0; i < CellCount; ++i)
      Cell(i)->setVisible(std::count(cells.begin(), cells.end(), i));
  }
  void Picture(int cell, int w, int h, double time) {
    view->CellImages[cell]->Bitmap() = QImage(w, h, QImage::Format_RGB32);
    view->CellImages[cell]->Bitmap().fill(QColor(200, 30, 30));
    view->CellTime[cell] = time;
  }
  // Answers the dialog and the question, then saves.
  void Save(std::optional<QString> answer = QStringLiteral("Camera.bmp"), bool yes = true) {
    if (answer) {
      answer = dir.filePath(*answer);
      platform.questionAnswers.push_back(yes);
    }
    platform.saveAnswers.push_back(answer);
    view->SaveClick();
  }
  QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }

  QTemporaryDir dir;
  ScriptedPlatform platform;
  ScopedPlatform installed;
  FixedLocaleFormats formats;
};

// Rows of the strip below top that hold ink (dark pixels) left of x.
std::pair<int, int> InkRows(const QImage& image, int top, int x) {
  int first = -1, last = -1;
  for (int y = top; y < image.height(); ++y)
    for (int i = 0; i < x; ++i)
      if (qGray(image.pixel(i, y)) < 96) {
        if (first < 0) first = y;
        last = y;
        break;
      }
  return {first, last};
}

const double kMay17 = MakeDateTime(2001, 5, 17, 14, 7, 9, 250);

}  // namespace

using ViewSave = ViewSaveTest;

TEST(ViewSaveNames, NameAndCaptionFromCameraAndTime) {
  const FixedLocaleFormats formats(QStringLiteral("dd.MM.yyyy"), QStringLiteral("H:mm:ss"), {});
  InstallLocaleFormats(&formats);
  struct Case {
    int camera;
    double time;
    const char* name;
    const char* caption;
  };
  const Case cases[] = {
      {3, kMay17, "3_ [17] [5] [2001] 14-7-9250.bmp", "Камера №3  17.05.2001 14:07:09"},
      {1, MakeDateTime(2001, 5, 17), "1_ [17] [5] [2001] 0-0-0.bmp", "Камера №1  17.05.2001"},
      {1, MakeDateTime(2001, 5, 17, 0, 0, 0, 500), "1_ [17] [5] [2001] 0-0-500.bmp",
       "Камера №1  17.05.2001"},
      {32, 0.0, "32_ [30] [12] [1899] 0-0-0.bmp", "Камера №32  30.12.1899"},
      // Rounded to the millisecond first: never 60 s or 1000 ms.
      {7, MakeDateTime(2001, 5, 17, 23, 59, 59, 999) + 0.6 / MillisecondsPerDay,
       "7_ [18] [5] [2001] 0-0-0.bmp", "Камера №7  18.05.2001"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PictureFileName(QStringLiteral("/p/"), c.camera, c.time),
              QStringLiteral("/p/") + QString::fromUtf8(c.name));
    EXPECT_EQ(PictureCaption(c.camera, c.time), QString::fromUtf8(c.caption));
  }
  InstallLocaleFormats(nullptr);
}

TEST_F(ViewSave, VisibleCamerasGo24BitWithAStripAndTheirCellsKeepIt) {
  ShowOnly({0, 1, 4, 32});  // cameras 1, 2, 5 and 33
  Picture(0, 704, 576, kMay17);
  Picture(1, 352, 288, kMay17);
  Picture(4, 352, 288, kMay17);
  Picture(32, 352, 288, kMay17);
  Save(QStringLiteral("ignored name.bmp"));

  ASSERT_EQ(platform.saveCalls.size(), 1u);
  EXPECT_EQ(platform.saveCalls[0].title, QStringLiteral("Выбор папки для сохранения"));
  EXPECT_EQ(platform.saveCalls[0].initialName, QStringLiteral("Camera.bmp"));
  // The bitmap first, so it is what the dialog offers.
  EXPECT_TRUE(platform.saveCalls[0].filter.startsWith(QStringLiteral("Bitmaps (*.bmp)|*.bmp|")));
  EXPECT_EQ(platform.saveCalls[0].defaultSuffix, QStringLiteral("bmp"));
  ASSERT_EQ(platform.questions.size(), 1u);
  EXPECT_EQ(platform.questions[0].title, QString());
  EXPECT_EQ(platform.questions[0].text, QStringLiteral("Сохранить   3 файл(а,ов) ?"));
  EXPECT_EQ(Files(),
            (QStringList{"1_ [17] [5] [2001] 14-7-9250.bmp", "2_ [17] [5] [2001] 14-7-9250.bmp",
                         "5_ [17] [5] [2001] 14-7-9250.bmp"}));

  const QString first = dir.filePath(Files()[0]);
  QFile file(first);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray header = file.read(30);
  EXPECT_TRUE(header.startsWith("BM"));
  EXPECT_EQ(header[28], 24);  // bits per pixel
  const QImage saved(first);
  ASSERT_EQ(saved.size(), QSize(704, 648));
  EXPECT_EQ(saved.pixelColor(350, 300), QColor(200, 30, 30));
  EXPECT_EQ(saved.pixelColor(700, 640), QColor(Qt::white));
  // The caption in black at 23 points of 96 dpi: about 31 pixels from the
  // top of its capitals to the bottom of its descenders, starting at once.
  const auto [top, bottom] = InkRows(saved, 576, 400);
  EXPECT_LT(top, 576 + 10);
  EXPECT_GT(bottom - top, 24);
  EXPECT_LT(bottom - top, 36);
  EXPECT_EQ(view->CellImages[0]->Bitmap().size(), QSize(704, 648));
  EXPECT_EQ(view->CellImages[0]->Bitmap().format(), QImage::Format_RGB32);
  EXPECT_EQ(view->CellImages[32]->Bitmap().size(), QSize(352, 288));
}

TEST_F(ViewSave, SecondSaveOfTheSamePicturesReplacesTheFilesWithBothStrips) {
  ShowOnly({0});
  Picture(0, 704, 576, kMay17);
  Save();
  Save();
  ASSERT_EQ(Files().size(), 1u);
  EXPECT_EQ(QImage(dir.filePath(Files()[0])).size(), QSize(704, 648 + 81));
}

TEST_F(ViewSave, CancelNoOrNoCameraWritesNothing) {
  ShowOnly({0, 33});
  Picture(0, 64, 48, kMay17);
  Save(std::nullopt);
  EXPECT_TRUE(platform.questions.empty());
  Save(QStringLiteral("x.bmp"), false);
  EXPECT_EQ(platform.questions.size(), 1u);
  EXPECT_EQ(view->CellImages[0]->Bitmap().height(), 48);

  ShowOnly({33});  // camera 34: never saved
  Save();
  EXPECT_EQ(platform.questions.back().text, QStringLiteral("Сохранить   0 файл(а,ов) ?"));
  EXPECT_TRUE(Files().isEmpty());
}

TEST_F(ViewSave, EmptyPictureIsNotCountedAndAnUnwritableFileDoesNotStopTheOthers) {
  ShowOnly({0, 1, 2});
  Picture(0, 64, 48, kMay17);
  // Camera 2's picture is empty: nothing to write.
  Picture(2, 64, 48, kMay17);
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("1_ [17] [5] [2001] 14-7-9250.bmp")));
  Save();
  EXPECT_EQ(platform.questions[0].text, QStringLiteral("Сохранить   2 файл(а,ов) ?"));
  EXPECT_EQ(Files(), QStringList{"3_ [17] [5] [2001] 14-7-9250.bmp"});
  EXPECT_TRUE(view->CellImages[1]->Bitmap().isNull());
}
