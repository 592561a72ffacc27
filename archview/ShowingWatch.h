#pragma once
// TShowingWatch: when a reader of the archive on a thread of its own starts
// and stops. At each showing of the playback window, once the showing has
// opened the archive, it hands over the archive's volumes (none when the
// archive could not be opened); hiding the window stops the reader.

#include <QObject>

#include <functional>

#include "archive/VolumeList.h"

class TArchView;

class TShowingWatch final : public QObject {
  Q_OBJECT

 public:
  // A child of owner; shown gets the open archive's volumes (empty when it
  // is not open), hidden is called when the window hides.
  TShowingWatch(TArchView& window, QObject& owner, std::function<void(VolumeList)> shown,
                std::function<void()> hidden);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TArchView& window_;
  std::function<void(VolumeList)> shown_;
  std::function<void()> hidden_;
};
