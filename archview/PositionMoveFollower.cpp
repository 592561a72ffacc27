#include "archview/PositionMoveFollower.h"

#include <QAbstractSlider>
#include <QCheckBox>
#include <QDateEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimeEdit>

#include "archview/ArchView.h"
#include "archview/EventJump.h"
#include "archview/PictureAtPosition.h"
#include "archview/PlaybackState.h"
#include "archview/RealTimeControls.h"
#include "archview/TimelineStrip.h"

TPositionMoveFollower::TPositionMoveFollower(TArchView& window)
    : QObject(&window), window_(window) {
  const auto moved = [this] { Follow(true); };
  connect(window.LeftRefreshBtn, &QPushButton::clicked, this, moved);
  connect(window.RightRefreshBtn, &QPushButton::clicked, this, moved);
  // The bar moves the position at the end of a scroll action only.
  connect(window.CurrentPos, &QScrollBar::actionTriggered, this, [this](int action) {
    if (action != QAbstractSlider::SliderMove && action != QAbstractSlider::SliderNoAction)
      Follow(true);
  });
  connect(window.CurrentPos, &QScrollBar::sliderReleased, this, moved);
  for (QDateTimeEdit* edit : std::initializer_list<QDateTimeEdit*>{
           window.OldDate, window.OldTime, window.NewDate, window.NewTime})
    connect(edit, &QDateTimeEdit::dateTimeChanged, this, moved);
  // The timeline's click, marking and jumps.
  connect(window.TimelineStrip, &TTimelineStrip::TimeClicked, this, moved);
  connect(window.TimelineStrip, &TTimelineStrip::IntervalMarked, this, moved);
  connect(window.EventJump, &TEventJump::Moved, this, moved);
  for (QCheckBox* box : {window.TimerRecBox, window.ActiveRecBox, window.MoveRecBox,
                         window.HistRecBox})
    connect(box, &QCheckBox::clicked, this, [this] { Follow(false); });
}

void TPositionMoveFollower::Follow(bool positionMoved) {
  if (positionMoved) window_.RealTime->Restart();
  if (StopRequested || Frozen) ShowPictureAtPosition(window_);
}
