#include "archview/ExportDestination.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include "platform/qt/PlatformServices.h"

namespace {

// Put into the dialog's file name; the name itself is never used.
constexpr const char* ProposedExportName = "OrxTom.oxa";

const QString kVolumesType = QStringLiteral("Тома архива (*.oxa)");
const QString kVideoType = QStringLiteral("Видео для любого проигрывателя (*.mkv)");

}  // namespace

QString ExportTitle() { return QStringLiteral("Экспорт фрагмента"); }

ExportFormat ExportFormatOf(const QString& path, int type) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("oxa")) return ExportFormat::Volumes;
  if (suffix == QLatin1String("mkv")) return ExportFormat::Video;
  return type == 1 ? ExportFormat::Video : ExportFormat::Volumes;
}

bool ChooseExportDestination(QWidget* parent, const QString& directory,
                             ExportDestination& destination) {
  SaveFileRequest request;
  request.title = ExportTitle();
  request.acceptLabel = QStringLiteral("Экспорт");
  request.directory = directory.isEmpty() ? QDir::homePath() : directory;
  request.initialName = QString::fromLatin1(ProposedExportName);
  request.types = QStringList{kVolumesType, kVideoType};
  SaveFileAnswer answer;
  if (!Platform().SaveFileOfType(parent, request, answer)) return false;
  destination.directory = QFileInfo(answer.path).absolutePath();
  destination.format = ExportFormatOf(answer.path, answer.type);
  return true;
}
