#include "main/VolumeChoice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "archive/VolumeOrder.h"

VolumeList VolumesNamed(const QStringList& names) {
  VolumeList found;
  for (const QString& name : names) {
    if (!QFileInfo(name).isDir()) {
      found.push_back(QFile::encodeName(name).toStdString());
      continue;
    }
    // QDir matches name filters regardless of case.
    const QDir folder(name);
    const QStringList files =
        folder.entryList({QStringLiteral("*.oxa")}, QDir::Files);
    for (const QString& file : files)
      found.push_back(QFile::encodeName(folder.filePath(file)).toStdString());
  }
  return OrderByFirstRecord(found);
}
