#include "archview/PlaybackState.h"

#include "common/RecordKind.h"

double PlaybackTime = 0.0;
double FirstRecordTime = 0.0;
double LastRecordTime = 0.0;
bool StopRequested = true;
bool Frozen = false;
std::uint32_t KindMask = KindContinuous | KindActivity | KindMotion;
std::uint32_t CameraMask = 0;
std::int32_t SkipCount = 0;
std::int32_t FrameDelay = 0;
std::int32_t ExportCamera = 0;
std::uint32_t ExportKinds = 0;

std::unique_ptr<FrameStream> PlaybackStream;
std::unique_ptr<FrameDecoder> PlaybackDecoder;

void ResetPlaybackState() {
  PlaybackTime = 0.0;
  FirstRecordTime = 0.0;
  LastRecordTime = 0.0;
  StopRequested = true;
  Frozen = false;
  KindMask = KindContinuous | KindActivity | KindMotion;
  CameraMask = 0;
  SkipCount = 0;
  FrameDelay = 0;
  ExportCamera = 0;
  ExportKinds = 0;
}
