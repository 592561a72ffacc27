#pragma once
// What a camera cell draws over its picture, never into its bitmap (saved
// and printed pictures stay as they are): a caption naming the camera and
// the frame's time with a mark for motion or activity records, a red corner
// on a frame that could not be decoded, and how far the picture is zoomed.
// Light text on a dark, half-transparent box reads on bright and dark
// pictures alike.

#include <QColor>
#include <QPainter>
#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

// "7  14:03:07"; with withDate the short date of the regional formats before
// the time: "7  05.01.2001 14:03:07". camera is 1..32.
QString CellCaptionText(int camera, double time, bool withDate);

// The marks after the caption's text, one per kind that calls for the
// operator's eye: motion first (red), then activity (amber).
std::vector<QColor> CaptionMarks(std::uint32_t kinds);

// The hint line a cell gets for a frame that could not be decoded.
QString DamagedFrameHint();

// Whether the caption fits into the width of cell with room for every mark,
// so cells of one size agree whatever their frames' kinds.
bool CaptionFits(const QRect& cell, const QString& text);
// The caption at the bottom left of cell, in a face sized to the cell.
void DrawCellCaption(QPainter& painter, const QRect& cell, const QString& text,
                     std::uint32_t kinds);
// A red corner at the top right of cell.
void DrawDamageMark(QPainter& painter, const QRect& cell);
// "×2.8" at the bottom right of cell.
void DrawZoomFactor(QPainter& painter, const QRect& cell, double factor);
