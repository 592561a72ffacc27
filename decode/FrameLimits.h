#pragma once
// FrameLimits: bounds on what one frame may cost, so that a damaged or
// hostile frame fails with a libjpeg message instead of hanging the player
// or exhausting memory. Generous for any camera: 8K UHD (7680x4320) fits.

#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

// Longest side accepted. Cameras stop well below; libjpeg's own limit is
// 65500.
inline constexpr int kMaxFrameSide = 16384;
// Pixels per frame: 32 Mi, room for 8K UHD; the bitmap then takes 128 MiB.
inline constexpr long long kMaxFramePixels = 1LL << 25;
// libjpeg's working memory per frame. A progressive 8K 4:4:4 frame needs
// about 200 MB for its coefficients; baseline frames need a few MB.
inline constexpr long kMaxDecoderMemory = 256L << 20;
// Scans per frame. libjpeg's standard progression writes 10, tuned encoders
// a few dozen at most; hundreds only come from damaged or hostile frames,
// each scan being a full pass over the frame's coefficients.
inline constexpr int kMaxScans = 100;

// Progress monitor that fails the frame once it reaches too many scans.
struct ScanLimitMonitor {
  jpeg_progress_mgr pub;  // must come first
  int max_scans;
};

// Attaches the memory limit and the scan monitor. Needed after every
// jpeg_create_decompress, which clears both.
void ApplyFrameLimits(j_decompress_ptr cinfo, ScanLimitMonitor* monitor);

// After jpeg_read_header: fails the frame (fatal error) when its dimensions
// are out of bounds.
void CheckFrameDimensions(j_decompress_ptr cinfo);
