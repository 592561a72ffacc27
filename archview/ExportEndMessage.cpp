#include "archview/ExportEndMessage.h"

#include <QLocale>

#include "archview/ExportDestination.h"
#include "common/DateTime.h"
#include "export/ChecksumManifest.h"
#include "export/ExportReport.h"
#include "platform/qt/PlatformServices.h"

namespace {

// Thousands set apart as Russian text sets them, whatever the system's
// regional settings.
QString Number(std::int64_t n) { return QLocale(QLocale::Russian).toString(qint64{n}); }

QString Dotted(double time) { return QString::fromStdString(FormatDateTimeDotted(time)); }

QString Contents(ExportFormat format, const ExportSummary& s) {
  QString text = QStringLiteral("Кадров: ") + Number(s.frames);
  if (s.frames > 0)
    text += QStringLiteral(", записаны\nс ") + Dotted(s.first) + QStringLiteral("\nпо ") +
            Dotted(s.last);
  else
    text += QStringLiteral(" — в интервале нет кадров выбранных камер и видов записи");
  text += QStringLiteral("\nФайлов: ") + Number(static_cast<std::int64_t>(s.files.size())) +
          (format == ExportFormat::Video ? QStringLiteral(" (видео для любого проигрывателя)")
                                         : QStringLiteral(" (тома архива)")) +
          QStringLiteral(", ") + Number(s.fileBytes) + QStringLiteral(" байт");
  if (s.framesLeftOut > 0)
    text += QStringLiteral("\nНе вошли в видео кадров: ") + Number(s.framesLeftOut) +
            QStringLiteral(" (в их заголовке JPEG нет размера кадра)");
  if (s.framesUnreadable > 0)
    text += QStringLiteral("\nНе прочитано из архива кадров: ") + Number(s.framesUnreadable) +
            QStringLiteral(" (их запись в томе повреждена)");
  if (s.reported && s.listed)
    text += QStringLiteral("\nОтчёт ") + QString::fromLatin1(ReportName) +
            QStringLiteral(" и контрольные суммы ") + QString::fromLatin1(ManifestName) +
            QStringLiteral(" — в той же папке.");
  else
    text += QStringLiteral("\nОтчёт и контрольные суммы записать не удалось.");
  return text;
}

}  // namespace

QString ExportEndText(const QString& folder, bool folderMade, ExportFormat format,
                      const ExportSummary& summary) {
  if (!folderMade)
    return QStringLiteral("Папку для экспорта создать не удалось:\n") + folder +
           QStringLiteral("\n\nНичего не сохранено.");
  QString head;
  switch (summary.state) {
    case ExportState::Complete:
      head = QStringLiteral("Фрагмент экспортирован в папку\n");
      break;
    case ExportState::Interrupted:
      head = QStringLiteral("Экспорт прерван. Что было записано до остановки, сохранено в папке\n");
      break;
    case ExportState::Failed:
      head = QStringLiteral(
          "Экспорт не завершён: файл не удалось создать или записать. Что было записано до "
          "ошибки, сохранено в папке\n");
      break;
  }
  return head + folder + QStringLiteral("\n\n") + Contents(format, summary);
}

void TellExportEnd(QWidget* parent, const QString& folder, bool folderMade, ExportFormat format,
                   const ExportSummary& summary) {
  const QString text = ExportEndText(folder, folderMade, format, summary);
  if (!folderMade) {
    Platform().Warning(parent, ExportTitle(), text);
    return;
  }
  if (Platform().Question(parent, ExportTitle(), text + QStringLiteral("\n\nОткрыть папку?")))
    Platform().OpenFolder(folder);
}

void TellVideoUnavailable(QWidget* parent, const std::string& why) {
  Platform().Warning(parent, ExportTitle(),
                     QStringLiteral("Видео сделать нельзя: не загружается библиотека FFmpeg "
                                    "libavformat.\n") +
                         QString::fromLocal8Bit(why.c_str()));
}
