#pragma once
// What an operator names when opening an archive, from the open dialog or
// the command line, turned into the VolumeList the reader reads, and the
// names that are no volume, each with the reason in the operator's words.

#include <QString>
#include <QStringList>

#include <vector>

#include "archive/VolumeList.h"

// A name that is not opened as a volume, and why: "не является томом
// архива", "пустой файл", "нет доступа", "файл не найден", or for a folder
// "в папке нет томов архива".
struct RefusedName {
  QString name;
  QString reason;
};

// Each name is a volume file or a folder, which stands for every .oxa file
// in it (VolumesInFolder: any letter case, not hidden, not subfolders).
struct VolumeChoice {
  // The volumes among them, ordered by their first record's time
  // (OrderByFirstRecord).
  VolumeList volumes;
  // The others, in the order named; a folder's files by name.
  std::vector<RefusedName> refused;
};
VolumeChoice ChooseVolumes(const QStringList& names);
// ChooseVolumes(names).volumes.
VolumeList VolumesNamed(const QStringList& names);

// The message after a choice without any volume: each name and its reason
// on a line of its own, at most a screenful.
QString NoVolumeMessage(const std::vector<RefusedName>& refused);
// The main window's status after a choice that opened: the names that were
// left out (file names only) with their reasons; empty when none.
QString LeftOutStatus(const std::vector<RefusedName>& refused);
