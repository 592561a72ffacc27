// TView: saving the pictures of the visible cameras (SaveItem, while
// playback is frozen) as 24-bit BMP files with a caption strip naming the
// camera and the picture's time.

#include <QFileInfo>

#include "platform/qt/PlatformServices.h"
#include "view/CellImage.h"
#include "view/PictureCaptions.h"
#include "view/View.h"

void TView::SaveClick() {
  QString chosen;
  if (!Platform().SavePicture(this, QStringLiteral("Выбор папки для сохранения"),
                              QStringLiteral("Camera.bmp"), QStringLiteral("Bitmaps (*.bmp)|*.bmp"),
                              QStringLiteral("bmp"), chosen) ||
      chosen.isEmpty())
    return;
  // Only the folder of the answer counts; the files are named by camera and
  // time.
  const QString folder = QFileInfo(chosen).absolutePath() + QLatin1Char('/');
  // A visible cell without a picture has no pixels to write (a 0 x 0
  // bitmap is no picture anyone can open), so it is neither counted nor
  // written: the number asked is the number of files that will be written.
  std::vector<int> cameras;
  for (const int camera : VisibleCameras()) {
    TCellImage* image = CellImages[camera - 1];
    if (image && !image->Bitmap().isNull()) cameras.push_back(camera);
  }

  // Three blanks after the verb.
  const QString question = QStringLiteral("Сохранить   ") + QString::number(cameras.size()) +
                           QStringLiteral(" файл(а,ов) ?");
  if (!Platform().Question(this, QString(), question)) return;

  for (const int camera : cameras) {
    const int cell = camera - 1;
    TCellImage* image = CellImages[cell];
    QImage picture = image->Bitmap().convertToFormat(QImage::Format_RGB888);
    const int w = picture.width();
    const int h = picture.height();
    AddCaptionStrip(picture, h / 8, PictureCaption(camera, CellTime[cell]), w / 30);
    // A file that cannot be written is not reported, and does not keep the
    // others from being written.
    picture.save(PictureFileName(folder, camera, CellTime[cell]), "BMP");
    // The cell goes on showing the picture with its strip.
    image->Bitmap() = picture.convertToFormat(QImage::Format_RGB32);
    image->Repaint();
  }
}
