#include "main/ExportCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "export/ChecksumManifest.h"

namespace {

QString Name(const std::string& name) { return QFile::decodeName(QByteArray::fromStdString(name)); }

}  // namespace

TExportCheck::TExportCheck(QStringList folders, QObject* parent)
    : QObject(parent), folders_(std::move(folders)) {}

void TExportCheck::Start() {
  if (worker_.joinable()) return;
  worker_ = std::thread([this] {
    for (const QString& folder : folders_) {
      const ManifestCheck check = CheckAgainstManifest(QFile::encodeName(folder).toStdString(), &stop_);
      if (stop_.load() || check.manifest == ManifestCheck::Manifest::Stopped) return;
      int matched = 0;
      for (const FileVerdict& file : check.files)
        matched += file.kind == FileVerdict::Kind::Matches ? 1 : 0;
      emit Checked(folder, ProblemLines(check), matched);
    }
  });
}

TExportCheck::~TExportCheck() {
  stop_ = true;
  if (worker_.joinable()) worker_.join();
}

QStringList TExportCheck::ExportFolders(const QStringList& names) {
  QStringList folders;
  for (const QString& name : names) {
    const QFileInfo info(name);
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    if (!folders.contains(folder) &&
        QFileInfo::exists(folder + QLatin1Char('/') + QString::fromLatin1(ManifestName)))
      folders << folder;
  }
  return folders;
}

QStringList TExportCheck::ProblemLines(const ManifestCheck& check) {
  const QString manifest = QString::fromLatin1(ManifestName);
  switch (check.manifest) {
    case ManifestCheck::Manifest::None:
    case ManifestCheck::Manifest::Stopped:
      return {};
    case ManifestCheck::Manifest::Unreadable:
      return {QStringLiteral("Файл %1 не читается: экспорт проверить нельзя.").arg(manifest)};
    case ManifestCheck::Manifest::BadLine:
      return {QStringLiteral("Файл %1 повреждён (строка %2): экспорт проверить нельзя.")
                  .arg(manifest)
                  .arg(check.badLine)};
    case ManifestCheck::Manifest::Read:
      break;
  }
  QStringList lines;
  for (const FileVerdict& file : check.files) {
    const QString name = Name(file.name);
    switch (file.kind) {
      case FileVerdict::Kind::Matches:
        break;
      case FileVerdict::Kind::Differs:
        lines << QStringLiteral("Файл изменён после экспорта: ") + name;
        break;
      case FileVerdict::Kind::Missing:
        lines << QStringLiteral("Файл изменён после экспорта: ") + name +
                     QStringLiteral(" (его нет в папке)");
        break;
      case FileVerdict::Kind::NotListed:
        // Only what the viewer reads as part of the archive.
        if (QFileInfo(name).suffix().compare(QLatin1String("oxa"), Qt::CaseInsensitive) == 0)
          lines << QStringLiteral("Файл добавлен после экспорта: ") + name;
        break;
    }
  }
  return lines;
}
