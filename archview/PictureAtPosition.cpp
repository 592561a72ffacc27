#include "archview/PictureAtPosition.h"

#include <QPointer>

#include <cstdint>
#include <string>

#include "archive/OrxRead.h"
#include "archive/VolumeFormat.h"
#include "archview/ArchCaptions.h"
#include "archview/ArchView.h"
#include "archview/FrameIntoCell.h"
#include "archview/PlaybackState.h"
#include "common/CameraMask.h"
#include "common/FrameStream.h"
#include "view/CellImage.h"
#include "view/CellPanel.h"

namespace {

// Steps the reader may take among records of one time to get back to its
// own after a search by that time lands on the last of them.
constexpr int kStepsBack = 64;

// Where the reader stands: its volume, ring and entry, and that record's time.
struct ReaderPlace {
  std::string file;
  std::int32_t ring = 0;
  std::int32_t entry = 0;
  double time = 0.0;
};

ReaderPlace PlaceOf(const TOrxRead& reader) {
  return {reader.FileName(), reader.ActiveRing(), reader.EntryPos(), reader.CurrentTime()};
}

bool SamePlace(const TOrxRead& reader, const ReaderPlace& place) {
  return reader.FileName() == place.file && reader.ActiveRing() == place.ring &&
         reader.EntryPos() == place.entry;
}

// Puts the reader back on place: the search by its time lands on the last
// record of that time, and the records sharing it lie just before.
void PutBack(TOrxRead& reader, const ReaderPlace& place) {
  if (place.file.empty()) return;  // it stood nowhere
  double time = place.time;
  if (reader.SetPosition(time, SeekDirection::Backward) < 0) return;
  FrameStream none;
  for (int i = 0; i < kStepsBack && !SamePlace(reader, place); ++i) {
    std::uint32_t camera = 0;  // no camera wanted: no frame bytes are read
    std::uint32_t kinds = 0;
    double at = 0.0;
    if (!reader.Previous(1, camera, kinds, at, none) || at != place.time) break;
  }
}

}  // namespace

void ShowPictureAtPosition(TArchView& window) {
  std::uint32_t missing = 0;
  for (int i = 0; i < CameraCount; ++i)
    if (window.CellVisible(i)) missing |= CameraBit(i);
  TOrxRead& reader = window.Reader;
  if (missing == 0 || !reader.IsOpen()) return;

  const ReaderPlace place = PlaceOf(reader);
  const QPointer<TArchView> self(&window);
  const double position = PlaybackTime;
  FrameStream stream;  // the run's stream may hold a frame still to be shown
  double landed = position;
  // The last record at or before the position, then one by one backward.
  if (reader.SetPosition(landed, SeekDirection::Backward) >= 0 && landed <= position) {
    for (bool first = true; missing != 0; first = false) {
      std::uint32_t camera = missing;
      std::uint32_t kinds = KindMask;
      double time = 0.0;
      stream.Clear();
      const bool read = first ? reader.Current(camera, kinds, time, stream)
                              : reader.Previous(1, camera, kinds, time, stream);
      if (!read) break;
      if (PictureStale(time, position)) break;  // the minute is used up
      // Bytes come only for a camera still missing, of a wanted kind.
      if (stream.Empty()) continue;
      // The cell keeps what it had if it cannot take the frame; the others
      // still get theirs.
      if (!ShowFrameInCell(window, camera, kinds, time, stream, false) && !self) return;
      missing &= ~CameraBit(static_cast<int>(camera));
    }
  }
  for (int i = 0; i < CameraCount; ++i) {
    if ((missing & CameraBit(i)) == 0) continue;
    if (window.CellImages[i]) window.CellImages[i]->hide();
    if (window.CellPanels[i]) window.CellPanels[i]->SetCaption(NoRecordCaption());
  }
  PutBack(reader, place);
  window.ForgetLanding();
}
