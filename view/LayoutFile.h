#pragma once
// OrxCamVis.cfg, the camera layouts kept between runs: a plain sequence of
// 636-byte CameraLayout records (docs/layout-file.md). QtCore only, so the
// reader can be driven with arbitrary bytes outside any window.

#include <QByteArray>
#include <QString>
#include <cstddef>

#include "view/CameraLayout.h"

inline constexpr const char* LayoutFileName = "OrxCamVis.cfg";

// Far more layouts than anyone names by hand; what a file holds beyond them
// is not read, so a huge or damaged file cannot stall the start.
inline constexpr std::size_t MaxLayouts = 1000;

// The records of a layout file's bytes, in file order: the complete 636-byte
// records that are Usable(), at most MaxLayouts of them. A trailing piece
// shorter than a record and unusable records are dropped. Safe on any input
// (data may be null when size is 0).
LayoutList LayoutsFromBytes(const unsigned char* data, std::size_t size);

// The file's bytes for layouts: their records one after the other.
QByteArray LayoutsToBytes(const LayoutList& layouts);

// Appends the records of the file at path to layouts. False, with layouts
// unchanged, when the file cannot be opened or read (it is missing, say).
bool ReadLayoutFile(const QString& path, LayoutList& layouts);

// Writes layouts to path, also when the list is empty. The new file is
// written beside the old one and replaces it only when it is whole, so a
// full disk or an interrupted write leaves the old file as it was. False on
// any failure.
bool WriteLayoutFile(const QString& path, const LayoutList& layouts);
