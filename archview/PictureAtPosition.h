#pragma once
// The picture wherever the position goes: after the operator moves the
// position while playback is stopped or frozen, every visible camera shows
// its latest frame at or before the position that is no more than a minute
// old (the kind filter applies), and "Нет записи" where there is none.
//
// It reads with the window's own reader, backward from the position, and
// stops as soon as every visible camera has its frame or the minute is used
// up; frame bytes are read only for cameras still without one. Afterwards
// the reader is put back on the record it stood on, so a step or a run goes
// on from where the control put it; PlaybackTime is never touched.

class TArchView;

void ShowPictureAtPosition(TArchView& window);
