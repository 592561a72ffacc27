#pragma once
// What an operator names when opening an archive, from the open dialog or
// the command line, turned into the VolumeList the reader reads.

#include <QStringList>

#include "archive/VolumeList.h"

// Each name is a volume file or a folder, which stands for every .oxa file
// in it (WithFoldersOpened: any letter case, not hidden, not subfolders). A name that is neither,
// a missing file among them, is kept as it is: opening it fails quietly.
// The volumes come ordered by their first record's time (OrderByFirstRecord).
VolumeList VolumesNamed(const QStringList& names);
