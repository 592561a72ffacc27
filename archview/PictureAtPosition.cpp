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

// Records after the position that the walk may meet before the ones at or
// before it: the forward landing lies within two records of the position;
// the rest is room for records that share one time.
constexpr int kRecordsAfterPosition = 16;
// Steps the reader may take to get back to its record from where a search
// by that record's time lands (within two records, or a few equal times).
constexpr int kStepsBack = 16;

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

bool InRing(const TOrxRead& reader, const ReaderPlace& place) {
  return reader.FileName() == place.file && reader.ActiveRing() == place.ring;
}

bool SamePlace(const TOrxRead& reader, const ReaderPlace& place) {
  return InRing(reader, place) && reader.EntryPos() == place.entry;
}

// Puts the reader on place: found by time (place.time at or after the
// record's), then stepped entry by entry within its ring.
void PutBack(TOrxRead& reader, const ReaderPlace& place) {
  if (place.file.empty()) return;  // it stood nowhere
  double time = place.time;
  if (reader.SetPosition(time, SeekDirection::Backward) < 0) return;
  FrameStream none;
  for (int i = 0; i < kStepsBack && !SamePlace(reader, place); ++i) {
    const bool back = InRing(reader, place) ? reader.EntryPos() > place.entry
                                            : reader.CurrentTime() > place.time;
    std::uint32_t camera = 0;  // no camera wanted: no frame bytes are read
    std::uint32_t kinds = 0;
    double at = 0.0;
    const bool stepped = back ? reader.Previous(1, camera, kinds, at, none)
                              : reader.Next(1, camera, kinds, at, none);
    if (!stepped) break;
  }
}

// One record back, as exactly as the reader allows. Its own backward step
// goes by time from a ring's first two entries, and so passes over the
// first when it lies less than 0.1 s before the second; from the ring's
// third entry a step of two reaches it.
bool StepBack(TOrxRead& reader, std::uint32_t& camera, std::uint32_t& kinds, double& time,
              FrameStream& stream) {
  const ReaderPlace from = PlaceOf(reader);
  const std::uint32_t cameras = camera;
  const std::uint32_t wanted = kinds;
  const auto step = [&](int count) {
    camera = cameras;
    kinds = wanted;
    stream.Clear();
    return reader.Previous(count, camera, kinds, time, stream);
  };
  const auto justBefore = [&] {
    return InRing(reader, from) && reader.EntryPos() == from.entry - EntrySize;
  };
  if (step(1) && justBefore()) return true;
  ReaderPlace third = from;
  third.entry += static_cast<std::int32_t>(EntrySize);
  PutBack(reader, third);
  if (SamePlace(reader, third) && step(2) && justBefore()) return true;
  // The ring's first entry: on by time, as the reader goes.
  PutBack(reader, from);
  return step(1);
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
  if (reader.SetPosition(landed, SeekDirection::Forward) >= 0) {
    // Landed after the position, the walk starts with the record before the
    // landing; landed at or before it (nothing later), with the landing
    // itself, which a backward step of 0 hands out again.
    int count = landed > position ? 1 : 0;
    int after = 0;
    while (missing != 0) {
      std::uint32_t camera = missing;
      std::uint32_t kinds = KindMask;
      double time = 0.0;
      stream.Clear();
      const bool stepped = count == 0 ? reader.Previous(0, camera, kinds, time, stream)
                                      : StepBack(reader, camera, kinds, time, stream);
      if (!stepped) break;
      count = 1;
      if (time > position) {
        if (++after > kRecordsAfterPosition) break;
        continue;
      }
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
}
