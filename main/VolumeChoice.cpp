#include "main/VolumeChoice.h"

#include <QFile>

#include "archive/VolumeFolder.h"
#include "archive/VolumeOrder.h"

VolumeList VolumesNamed(const QStringList& names) {
  std::vector<std::string> paths;
  for (const QString& name : names) paths.push_back(QFile::encodeName(name).toStdString());
  return OrderByFirstRecord(WithFoldersOpened(paths));
}
