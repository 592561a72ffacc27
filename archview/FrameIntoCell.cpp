#include "archview/FrameIntoCell.h"

#include <QPointer>

#include <exception>
#include <span>

#include "archview/ArchCaptions.h"
#include "archview/ArchView.h"
#include "archview/FramePipeline.h"
#include "archview/PlaybackState.h"
#include "common/FrameStream.h"
#include "view/CellCaption.h"
#include "view/CellImage.h"
#include "view/CellPanel.h"

bool ShowFrameInCell(TArchView& window, std::uint32_t camera, std::uint32_t kinds, double time,
                     FrameStream& stream, bool forExport) {
  if (camera >= static_cast<std::uint32_t>(CameraCount) || !PlaybackDecoder) return false;
  TCellImage* image = window.CellImages[camera];
  TCellPanel* panel = window.CellPanels[camera];
  if (!image || !panel) return false;
  try {
    image->setVisible(true);
    const bool decoded = window.Pictures().PutInto(*image, camera, time, stream);
    image->TakeFrame(std::span<const std::uint8_t>(stream.Data(), stream.Size()), time, kinds,
                     decoded);
    QString hint = CellHintText(static_cast<int>(camera), time, kinds, forExport);
    if (!decoded) hint += QLatin1Char('\n') + DamagedFrameHint();
    // The hint's change event may reach code that destroys the window.
    QPointer<TArchView> self(&window);
    panel->setToolTip(hint);
    if (!self) return false;
    window.CellTime[camera] = time;
  } catch (const std::exception&) {
    return false;
  }
  return true;
}
