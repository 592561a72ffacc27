#pragma once
// The playback state of the archive window's unit: one copy in the program,
// outliving the window's showings. The window, its engine and the fragment
// export read and write it on the user-interface thread only.

#include <cstdint>
#include <memory>

#include "common/FrameStream.h"
#include "decode/FrameDecoder.h"

// The playback position: the time of the record read last, or where a
// position control put it.
extern double PlaybackTime;
// Earliest and latest record time, as last fetched by ShowArchiveBounds.
extern double FirstRecordTime;
extern double LastRecordTime;
// Set: no playback is running, or the running one must end.
extern bool StopRequested;
// Set: a running playback waits before its next frame.
extern bool Frozen;
// Record kinds to show (Kind bits); set by the record-kind boxes.
extern std::uint32_t KindMask;
// Bit i set = the cell of camera i+1 is visible.
extern std::uint32_t CameraMask;
// Records passed over at the start of every cycle; 0 = advance by time.
extern std::int32_t SkipCount;
// 10 ms pauses after every frame shown during a run.
extern std::int32_t FrameDelay;
// Camera and Kind bits of the frame last shown for the fragment export.
extern std::int32_t ExportCamera;
extern std::uint32_t ExportKinds;

// The byte stream that receives one record's frame, and the one decoder;
// both made by the window's creation and freed by its destruction (the
// stream's variable cannot take the class's own name).
extern std::unique_ptr<FrameStream> PlaybackStream;
extern std::unique_ptr<FrameDecoder> PlaybackDecoder;

// Every value back to its program-start value; the stream and the decoder are
// left as they are. For tests that run several windows in one process.
void ResetPlaybackState();
