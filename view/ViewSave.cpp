// TView: saving the pictures of the visible cameras (SaveItem, while
// playback is frozen): as 24-bit BMP files with a caption strip naming the
// camera and the picture's time, or, as the save dialog's file type chooses,
// each camera's stored frame as it is: the JPEG bytes the archive holds.

#include <QFileInfo>
#include <QSaveFile>

#include "platform/qt/PlatformServices.h"
#include "view/CellImage.h"
#include "view/PictureCaptions.h"
#include "view/View.h"

namespace {

// The save dialog's file types, the bitmap first: the index of each pair.
const QString kSaveTypes =
    QStringLiteral("Bitmaps (*.bmp)|*.bmp|Кадры из архива, JPEG (*.jpg)|*.jpg");
constexpr int kStoredFrames = 1;

// Writes bytes as they are; a file that cannot be written is left as it was.
void WriteStoredFrame(const QString& path, std::span<const std::uint8_t> bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return;
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
  file.commit();
}

}  // namespace

void TView::SaveClick() {
  QString chosen;
  int type = 0;
  if (!Platform().SavePicture(this, QStringLiteral("Выбор папки для сохранения"),
                              QStringLiteral("Camera.bmp"), kSaveTypes, QStringLiteral("bmp"),
                              chosen, type) ||
      chosen.isEmpty())
    return;
  const bool stored = type == kStoredFrames;
  // Only the folder of the answer counts; the files are named by camera and
  // time.
  const QString folder = QFileInfo(chosen).absolutePath() + QLatin1Char('/');
  // A visible cell without a picture (or, for the stored frames, without a
  // frame's bytes) has nothing to write (a 0 x 0 bitmap is no picture anyone
  // can open), so it is neither counted nor written: the number asked is
  // the number of files that will be written.
  std::vector<int> cameras;
  for (const int camera : VisibleCameras()) {
    TCellImage* image = CellImages[camera - 1];
    if (image && (stored ? !image->StoredFrame().empty() : !image->Picture().isNull()))
      cameras.push_back(camera);
  }

  // Three blanks after the verb.
  const QString question = QStringLiteral("Сохранить   ") + QString::number(cameras.size()) +
                           QStringLiteral(" файл(а,ов) ?");
  if (!Platform().Question(this, QString(), question)) return;

  for (const int camera : cameras) {
    const int cell = camera - 1;
    TCellImage* image = CellImages[cell];
    if (stored) {
      WriteStoredFrame(PictureFileName(folder, camera, CellTime[cell], QStringLiteral("jpg")),
                       image->StoredFrame());
      continue;
    }
    // At the frame's full size, however small the cell had it decoded.
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
