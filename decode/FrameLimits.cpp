#include "decode/FrameLimits.h"

#include "decode/DecoderErrorManager.h"

namespace {

// Called by libjpeg during every pass over the input, at least once per scan.
void MonitorScans(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  auto* monitor = reinterpret_cast<ScanLimitMonitor*>(cinfo->progress);
  const int scan = reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number;
  if (scan > monitor->max_scans) RaiseDecoderError(cinfo, kErrTooManyScans, scan, monitor->max_scans);
}

}  // namespace

void ApplyFrameLimits(j_decompress_ptr cinfo, ScanLimitMonitor* monitor) {
  cinfo->mem->max_memory_to_use = kMaxDecoderMemory;
  monitor->pub = jpeg_progress_mgr{};
  monitor->pub.progress_monitor = MonitorScans;
  monitor->max_scans = kMaxScans;
  cinfo->progress = &monitor->pub;
}

void CheckFrameDimensions(j_decompress_ptr cinfo) {
  const auto common = reinterpret_cast<j_common_ptr>(cinfo);
  const long long width = cinfo->image_width;
  const long long height = cinfo->image_height;
  if (width > kMaxFrameSide || height > kMaxFrameSide)
    RaiseDecoderError(common, kErrFrameSideTooBig, int(width), int(height), kMaxFrameSide);
  if (width * height > kMaxFramePixels)
    RaiseDecoderError(common, kErrFrameAreaTooBig, int(width), int(height), int(kMaxFramePixels));
}
