#include "ArchRig.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

#include "archview/PlaybackState.h"
#include "archview/TimelineFeed.h"
#include "common/DateTime.h"
#include "view/CellPanel.h"

namespace archtest {

HintRecorder::HintRecorder(TArchView& window) : window_(window) {
  for (TCellPanel* panel : window.CellPanels)
    if (panel) panel->installEventFilter(this);
}

bool HintRecorder::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTipChange) {
    const int cell = window_.CellIndex(watched);
    shown.push_back(Shown{cell, PlaybackTime, static_cast<QWidget*>(watched)->toolTip()});
    if (onShown) onShown(static_cast<int>(shown.size()));
  }
  return false;
}

double ArchRig::Present() { return MakeDateTime(2001, 2, 1, 12, 0, 0); }
double ArchRig::Base() { return MakeDateTime(2001, 1, 5, 14, 0, 0); }

ArchRig::ArchRig()
    : platform_(QString::fromStdString(dir_.Path())),
      scoped_(platform_),
      clock_(Present()),
      formats_("dd.MM.yyyy", "H:mm:ss",
               {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"}),
      reader_(volumes_),
      frame_(EncodeJpeg(64, 48)) {
  InstallClock(&clock_);
  InstallElapsedClock(&elapsed_);
  InstallLocaleFormats(&formats_);
  ResetPlaybackState();
  CurrentLayout = -1;
}

ArchRig::~ArchRig() {
  Destroy();
  InstallLocaleFormats(nullptr);
  InstallElapsedClock(nullptr);
  InstallClock(nullptr);
}

void ArchRig::AddVolume(const std::vector<Record>& records, std::int64_t size) {
  const std::string path = dir_.File("v" + std::to_string(volumes_.size()) + ".oxa");
  if (!WriteVolume(path, records, frame_, size)) throw std::runtime_error("volume not written");
  volumes_.push_back(path);
  records_.insert(records_.end(), records.begin(), records.end());
  frames_.resize(records_.size(), frame_);
}

void ArchRig::AddVolume(const std::vector<Record>& records, const std::vector<Bytes>& frames,
                        std::int64_t size) {
  const std::string path = dir_.File("v" + std::to_string(volumes_.size()) + ".oxa");
  if (!WriteVolume(path, records, frames, size)) throw std::runtime_error("volume not written");
  volumes_.push_back(path);
  records_.insert(records_.end(), records.begin(), records.end());
  frames_.insert(frames_.end(), frames.begin(), frames.end());
}

void ArchRig::AddMissingVolume() { volumes_.push_back(dir_.File("missing.oxa")); }

TArchView& ArchRig::Create() {
  if (!window_) {
    window_ = std::make_unique<TArchView>(reader_, layouts_);
    hints_ = std::make_unique<HintRecorder>(*window_);
  }
  return *window_;
}

TArchView& ArchRig::Show() {
  Create().show();
  return *window_;
}

TArchView& ArchRig::ShowStill() {
  Show();
  QCoreApplication::removePostedEvents(window_.get(), AutoPlayMessage);
  return *window_;
}

void ArchRig::ChooseExport(const std::string& name, int type) {
  platform_.typedSaveAnswers.push_back(SaveFileAnswer{QString::fromStdString(dir_.File(name)), type});
}

void ArchRig::ProcessEvents() { QCoreApplication::processEvents(); }

void ArchRig::WaitForTimeline() {
  // Bounded, so a fault fails the test rather than hanging it.
  for (int i = 0; i < 4000; ++i) {
    ProcessEvents();
    if (window_->TimelineFeed->Progress() < 0.0 && window_->TimelineFeed->Runs().RunCount() > 0)
      return;
    QThread::msleep(1);
  }
  throw std::runtime_error("the timeline was not built");
}

void ArchRig::Destroy() {
  hints_.reset();
  window_.reset();
}

TArchView* ArchRig::Release() {
  hints_->onShown = nullptr;
  return window_.release();
}

int ArchRig::IndexOf(double time) const {
  for (std::size_t i = 0; i < records_.size(); ++i)
    if (records_[i].time == time) return static_cast<int>(i);
  return -1;
}

}  // namespace archtest
