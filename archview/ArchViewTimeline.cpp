// The playback window's timeline: the strip between the grid and the archive
// panel, the runs it shows, the jumps to events, and the kind colours beside
// the kind boxes, which tell what the lanes' colours mean.

#include <QCheckBox>
#include <QFrame>
#include <QVBoxLayout>

#include "archview/ArchView.h"
#include "archview/EventJump.h"
#include "archview/TimelineFeed.h"
#include "archview/TimelineStrip.h"
#include "view/KindColours.h"

namespace {

// The colour swatch's size and its distance from its box.
constexpr int kSwatch = 9;
constexpr int kSwatchGap = 3;

}  // namespace

void TArchView::BuildTimeline() {
  TimelineFeed = new TTimelineFeed(*this);
  TimelineStrip = new TTimelineStrip(*this, *TimelineFeed);
  ClientLayout->insertWidget(ClientLayout->indexOf(ArchPanel), TimelineStrip);
  EventJump = new TEventJump(*this, *TimelineFeed);
  // The camera menu marks the cameras the runs found: the same reading of
  // the indexes, following a recorder that is still filling a volume.
  connect(TimelineFeed, &TTimelineFeed::Changed, this,
          [this] { MarkRecordedCameras(TimelineFeed->Runs().Cameras()); });
  // The window grows by the strip: at its smallest the grid is as large as
  // without it.
  setMinimumHeight(minimumHeight() + TTimelineStrip::StripHeight);

  const std::pair<QCheckBox*, std::uint32_t> boxes[] = {{TimerRecBox, KindContinuous},
                                                       {ActiveRecBox, KindActivity},
                                                       {MoveRecBox, KindMotion},
                                                       {HistRecBox, KindMotionHistory}};
  for (const auto& [box, kind] : boxes) {
    auto* swatch = new QFrame(ArchPanel);
    swatch->setObjectName(box->objectName() + QStringLiteral("Colour"));
    swatch->setGeometry(box->x() - kSwatch - kSwatchGap, box->y() + (box->height() - kSwatch) / 2,
                        kSwatch, kSwatch);
    swatch->setStyleSheet(QStringLiteral("background: %1; border: 1px solid rgba(0,0,0,70);")
                              .arg(KindColour(kind).name()));
    swatch->setToolTip(box->text());
  }
}

void TArchView::SetArchControlsVisible(bool visible) {
  ArchPanel->setVisible(visible);
  TimelineStrip->setVisible(visible);
}
