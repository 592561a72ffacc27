#pragma once
// What an operator names when opening an archive, from the open dialog or
// the command line, turned into the VolumeList the reader reads, and the
// names that are no volume, each with the reason in the operator's words.

#include <QString>
#include <QStringList>

#include <vector>

#include "archive/VolumeList.h"

// Each name is a volume file or a folder, which stands for every .oxa file
// in it (WithFoldersOpened: any letter case, not hidden, not subfolders). A name that is neither,
// a missing file among them, is kept as it is: opening it fails quietly.
// The volumes come ordered by their first record's time (OrderByFirstRecord).
VolumeList VolumesNamed(const QStringList& names);

// A name that is not opened as a volume, and why: "не является томом
// архива", "пустой файл", "нет доступа", "файл не найден", or for a folder
// "в папке нет томов архива".
struct RefusedName {
  QString name;
  QString reason;
};

struct VolumeChoice {
  // VolumesNamed(names): the files that are no volume stay in it, last, as
  // the reader passes them over (one may yet become a volume while the
  // archive is open: a recorder preparing its next one).
  VolumeList volumes;
  // Whether at least one of them is a volume now.
  bool anyVolume = false;
  // In the order named; a folder's files by name.
  std::vector<RefusedName> refused;
};
VolumeChoice ChooseVolumes(const QStringList& names);

// The message after a choice without any volume: each name and its reason
// on a line of its own, at most a screenful.
QString NoVolumeMessage(const std::vector<RefusedName>& refused);
// The main window's status after a choice that opened: the names that were
// left out (file names only) with their reasons; empty when none.
QString LeftOutStatus(const std::vector<RefusedName>& refused);
