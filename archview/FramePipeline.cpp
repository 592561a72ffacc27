#include "archview/FramePipeline.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <thread>

#include "archview/ArchView.h"
#include "archview/PlaybackState.h"
#include "archview/RealTimeControls.h"
#include "archview/RunStep.h"
#include "common/CameraMask.h"
#include "common/FrameStream.h"
#include "view/CellImage.h"

namespace {

// Records the follower reads at most before each step of the run, so a
// long stretch of records nobody sees does not hold the window: the run
// itself passes over them with the window's events in between.
constexpr int kMostReads = 256;

int OnePerCore() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

bool SameKey(const RecordKey& a, const RecordKey& b) {
  return a.time == b.time && a.volume == b.volume && a.ring == b.ring && a.slot == b.slot;
}

bool SameBytes(const FrameStream& a, const FrameStream& b) {
  return a.Size() == b.Size() && std::memcmp(a.Data(), b.Data(), a.Size()) == 0;
}

}  // namespace

FramePipeline::FramePipeline(TArchView& window, FrameDecoder& windowDecoder, int threads)
    : window_(window), here_(windowDecoder), follower_(window.Reader.Volumes()) {
  SetThreads(threads);
}

FramePipeline::~FramePipeline() { Drop(); }

void FramePipeline::SetThreads(int threads) {
  Drop();
  workers_.reset();
  workers_ = std::make_unique<PictureWorkers>(threads < 0 ? OnePerCore() : threads);
}

void FramePipeline::SetScaled(bool scaled) {
  Drop();
  scaled_ = scaled;
}

void FramePipeline::Drop() {
  for (const Ahead& ahead : ahead_) workers_->Release(ahead.slot);
  ahead_.clear();
  following_ = false;
  followedLanding_ = landingFirst_ = false;
}

FramePipeline::Conditions FramePipeline::Now(bool forward) const {
  Conditions now;
  now.forward = forward;
  now.cameras = CameraMask;
  now.kinds = KindMask;
  now.skip = SkipCount;
  now.realTime = window_.RealTime && window_.RealTime->Applies();
  now.from = window_.IntervalStart();
  now.to = window_.IntervalEnd();
  return now;
}

bool FramePipeline::StillGood() const {
  if (!following_) return true;
  // The run stands where the next step read ahead begins: nothing moved it.
  RecordKey place;
  const RecordKey& expected = ahead_.empty() ? stepFrom_ : ahead_.front().before;
  const bool known = ahead_.empty() ? hasStepFrom_ : ahead_.front().hasBefore;
  if (window_.Reader.Place(place) != known || (known && !SameKey(place, expected))) return false;
  // Every cell still wants what its frame is made for.
  for (const Ahead& ahead : ahead_) {
    const TCellImage* image = window_.CellImages[ahead.camera];
    const TCellImage::PictureRequest request = image->Request();
    if (request.shown != ahead.shown ||
        (scaled_ ? request.largestScale : 1) != ahead.largestScale)
      return false;
  }
  return true;
}

void FramePipeline::ReadAhead(bool forward, int stepsLeft) {
  if (workers_->Slots() == 0) return;
  const Conditions now = Now(forward);
  // A landing the run will show first, not planned for: read again.
  const bool landing = window_.LandingPending();
  if (!(now == conditions_) || !StillGood() || (landing && !followedLanding_)) Drop();
  conditions_ = now;
  if (!following_) {
    if (!follower_.Follow(window_.Reader)) return;
    following_ = true;
    followedLanding_ = landingFirst_ = landing;
    ended_ = false;
    stepsLeft_ = std::max(1, stepsLeft);
    hasStepFrom_ = follower_.Place(stepFrom_);
  }
  int reads = 0;
  while (!ended_ && ReadOneAhead(reads)) {
  }
}

bool FramePipeline::FollowerStep(int count, std::uint32_t& camera, std::uint32_t& kinds,
                                 double& time, FrameStream& stream) {
  stream.Clear();
  return ReadRunStep(follower_, landingFirst_, conditions_.forward, count, camera, kinds, time,
                     stream);
}

bool FramePipeline::ReadOneAhead(int& reads) {
  const int slot = workers_->Acquire();
  if (slot < 0) return false;
  FrameStream& stream = workers_->StreamOf(slot);
  for (;;) {
    if (reads >= kMostReads) break;
    ++reads;
    std::uint32_t camera = conditions_.cameras;
    std::uint32_t kinds = conditions_.kinds;
    double time = 0.0;
    if (!FollowerStep(1, camera, kinds, time, stream) ||
        (conditions_.forward ? time > conditions_.to : time < conditions_.from)) {
      ended_ = true;
      break;
    }
    if (camera >= static_cast<std::uint32_t>(CameraCount) || stream.Empty() ||
        !window_.CellVisible(static_cast<int>(camera)) || !window_.CellImages[camera])
      continue;
    Ahead ahead;
    ahead.slot = slot;
    ahead.camera = camera;
    ahead.time = time;
    ahead.before = stepFrom_;
    ahead.hasBefore = hasStepFrom_;
    const TCellImage::PictureRequest request = window_.CellImages[camera]->Request();
    ahead.shown = request.shown;
    ahead.largestScale = scaled_ ? request.largestScale : 1;
    workers_->Submit(slot, ahead.shown, ahead.largestScale);
    ahead_.push_back(ahead);
    if (--stepsLeft_ <= 0) {
      // The run's cycle ends here: its next one begins with the skip.
      stepsLeft_ = std::max(1, 2 * window_.VisibleCameraCount());
      if (!conditions_.realTime) {
        std::uint32_t skipCamera = conditions_.cameras;
        std::uint32_t skipKinds = 0;
        double skipTime = 0.0;
        FollowerStep(conditions_.skip, skipCamera, skipKinds, skipTime, skipped_);
      }
    }
    hasStepFrom_ = follower_.Place(stepFrom_);
    return true;
  }
  // The step is not read to its end: the next call goes on with it, from
  // the same beginning.
  workers_->Release(slot);
  return false;
}

bool FramePipeline::MakeHere(TCellImage& image, FrameStream& stream) {
  ++madeHere_;
  const TCellImage::PictureRequest request = image.Request();
  here_.Make(stream, request.shown, scaled_ ? request.largestScale : 1, picture_);
  return Show(image, picture_, stream);
}

bool FramePipeline::Show(TCellImage& image, CellPicture& picture, FrameStream& stream) {
  // What libjpeg said of the frame goes out as it is shown, as it always did.
  if (!picture.message.empty()) std::fprintf(stderr, "%s\n", picture.message.c_str());
  return image.TakePicture(picture, stream);
}

bool FramePipeline::PutInto(TCellImage& image, std::uint32_t camera, double time,
                            FrameStream& stream) {
  const auto found = std::find_if(ahead_.begin(), ahead_.end(), [&](const Ahead& ahead) {
    return ahead.camera == camera && ahead.time == time;
  });
  if (found == ahead_.end()) {
    Drop();
    return MakeHere(image, stream);
  }
  const Ahead ahead = *found;
  // Frames read ahead before this one were passed over by the run.
  for (auto it = ahead_.begin(); it != found; ++it) workers_->Release(it->slot);
  ahead_.erase(ahead_.begin(), found + 1);
  const TCellImage::PictureRequest request = image.Request();
  if (request.shown != ahead.shown ||
      (scaled_ ? request.largestScale : 1) != ahead.largestScale ||
      !SameBytes(workers_->StreamOf(ahead.slot), stream)) {
    workers_->Release(ahead.slot);
    Drop();
    return MakeHere(image, stream);
  }
  ++takenAhead_;
  CellPicture& picture = workers_->Collect(ahead.slot, here_);
  const bool decoded = Show(image, picture, stream);
  workers_->Release(ahead.slot);
  return decoded;
}
