#pragma once
// The order in which the volumes an operator chose are listed: by the time
// of each volume's first record. The reader finds records by time whatever
// the order; the order decides which volume the window title names and
// which of two volumes starting at the same time a seek prefers.

#include <string>

#include "archive/VolumeList.h"

// The time of the earliest record the volume at path holds: the smaller of
// its live rings' first entries. False when the file cannot be read, is not
// a volume or holds no record; time is then left as it was. Reads the
// header and at most one entry per ring.
bool FirstRecordTime(const std::string& path, double& time);

// paths ordered by their first record's time, earlier first; equal times by
// file name, then by the whole path. Files without a first record (not
// volumes, unreadable, empty) come last, by name. A path named twice is
// listed once.
VolumeList OrderByFirstRecord(const VolumeList& paths);
