// The playback window's arrangement: full screen with the play buttons on the
// command strip, the key and the default window that leave it, and printing
// without the archive panel and the timeline.

#include <QFrame>
#include <QLayout>
#include <QPushButton>

#include "archview/ArchView.h"

namespace {

// The play buttons' place on the command strip in full screen.
constexpr QPoint PlayPanelOnCommandPanel(240, 4);
// SaveBitBtn's place on the command strip.
constexpr QRect SaveBitBtnPlace(328, 4, 75, 25);
// In full screen the play buttons cover SaveBitBtn's place; it then stands
// this far after them, so the export can be started in full screen too.
constexpr int SaveBitBtnGap = 8;

}  // namespace

void TArchView::BuildSaveBitBtn() {
  SaveBitBtn = new QPushButton(QStringLiteral("Сохранить"), CommandPanel);
  SaveBitBtn->setObjectName(QStringLiteral("SaveBitBtn"));
  SaveBitBtn->setGeometry(SaveBitBtnPlace);
  // Enter in the window must not start an export.
  SaveBitBtn->setAutoDefault(false);
  SaveBitBtn->setFocusPolicy(Qt::NoFocus);
  playPanelHome_ = PlayPanel->pos();
}

void TArchView::PlacePlayPanel() {
  const bool full = IsFullScreen();
  // Re-parenting keeps the buttons in their radio group.
  PlayPanel->setParent(full ? static_cast<QWidget*>(CommandPanel) : RecPanel);
  PlayPanel->move(full ? PlayPanelOnCommandPanel : playPanelHome_);
  PlayPanel->show();
  SetArchControlsVisible(!full);
  const int saveLeft =
      full ? PlayPanel->geometry().right() + 1 + SaveBitBtnGap : SaveBitBtnPlace.left();
  SaveBitBtn->move(saveLeft, SaveBitBtnPlace.top());
  // Full screen hid the control that had the focus, and Qt passed it on to
  // the next one it could, the layout name field among them: back in the
  // normal window, keys go to the record panel again, as after a showing.
  if (!full) RecPanel->setFocus();
}

void TArchView::SizeItemClick() {
  TView::SizeItemClick();
  PlacePlayPanel();
}

void TArchView::FormKeyPress(QChar) {
  if (IsFullScreen()) SizeItemClick();
}

void TArchView::Button43Click() {
  if (IsFullScreen()) {
    SizeItemClick();
    // The window system may restore the normal size later; the layout for
    // the present size, with both panels back, gives the right margins.
    layout()->activate();
  }
  TView::Button43Click();
}

void TArchView::PrintItemClick() {
  if (ArchPanel->isHidden()) {
    TView::PrintItemClick();
    return;
  }
  SetArchControlsVisible(false);
  QPointer<TArchView> self(this);
  TView::PrintItemClick();
  if (self) SetArchControlsVisible(true);
}
