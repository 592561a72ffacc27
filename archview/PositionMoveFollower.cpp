#include "archview/PositionMoveFollower.h"

#include <QAbstractSlider>
#include <QDateEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimeEdit>

#include "archview/ArchView.h"
#include "archview/RealTimeControls.h"

TPositionMoveFollower::TPositionMoveFollower(TArchView& window)
    : QObject(&window), window_(window) {
  const auto moved = [this] { Follow(); };
  connect(window.LeftRefreshBtn, &QPushButton::clicked, this, moved);
  connect(window.RightRefreshBtn, &QPushButton::clicked, this, moved);
  // The bar moves the position at the end of a scroll action only.
  connect(window.CurrentPos, &QScrollBar::actionTriggered, this, [this](int action) {
    if (action != QAbstractSlider::SliderMove && action != QAbstractSlider::SliderNoAction)
      Follow();
  });
  connect(window.CurrentPos, &QScrollBar::sliderReleased, this, moved);
  for (QDateTimeEdit* edit : std::initializer_list<QDateTimeEdit*>{
           window.OldDate, window.OldTime, window.NewDate, window.NewTime})
    connect(edit, &QDateTimeEdit::dateTimeChanged, this, moved);
}

void TPositionMoveFollower::Follow() { window_.RealTime->Restart(); }
