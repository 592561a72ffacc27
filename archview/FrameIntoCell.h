#pragma once
// A frame put into its camera's cell: decoded into the cell's picture, the
// cell told of the frame (its stored bytes, time, kinds and whether it
// decoded), the hint written and CellTime set. The playback step, the
// export's step and the picture at a new position all show frames so.

#include <cstdint>

class FrameStream;
class TArchView;

// camera 0..31; time is the record's. A frame that cannot be decoded still
// gets its time and hint, with "Кадр повреждён" added, and the cell marks
// it. False when the cell cannot take the frame or the window was destroyed
// meanwhile (the caller must then not touch it).
bool ShowFrameInCell(TArchView& window, std::uint32_t camera, std::uint32_t kinds, double time,
                     FrameStream& stream, bool forExport);
