// TView: the captions over the cells' pictures, switched for all cells at
// once and kept in OrxViewer.cfg, and the camera menu's marks of the cameras
// the archive holds.

#include <QAction>
#include <QSettings>
#include <QToolButton>

#include "common/CameraMask.h"
#include "platform/qt/PlatformServices.h"
#include "view/CellImage.h"
#include "view/View.h"

namespace {

// OrxViewer.cfg: section and key of the captions' choice, 1 shown, 0 not.
const QString kSection = QStringLiteral("View");
const QString kCaptionsKey = QStringLiteral("Captions");

}  // namespace

void TView::ReadCaptionChoice() {
  const QSettings config(ViewerConfigPath(), QSettings::IniFormat);
  bool ok = false;
  const int shown = config.value(kSection + QLatin1Char('/') + kCaptionsKey).toInt(&ok);
  // On unless switched off: a missing or unreadable value shows them.
  CaptionBtn->setChecked(!ok || shown != 0);
  ApplyCaptions();
}

void TView::CaptionBtnClick() {
  ApplyCaptions();
  QSettings config(ViewerConfigPath(), QSettings::IniFormat);
  config.setValue(kSection + QLatin1Char('/') + kCaptionsKey, CaptionBtn->isChecked() ? 1 : 0);
  config.sync();  // a file that cannot be written is not reported
}

void TView::SetCaptionDates(bool withDate) {
  if (withDate == captionDates_) return;
  captionDates_ = withDate;
  ApplyCaptions();
}

void TView::ApplyCaptions() {
  for (TCellImage* image : CellImages)
    if (image) image->SetCaption(CaptionBtn->isChecked(), captionDates_);
}

void TView::MarkRecordedCameras(std::uint32_t cameras) {
  for (int i = 0; i < CameraCount; ++i) {
    QAction* item = CameraItems[i];
    if (!item) continue;
    QFont font = item->font();
    const bool recorded = (cameras & CameraBit(i)) != 0;
    if (font.bold() == recorded) continue;
    font.setBold(recorded);
    item->setFont(font);
  }
}
