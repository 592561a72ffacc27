#include "main/VolumeChoice.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <cerrno>

#include "archive/FileHandle.h"
#include "archive/VolumeFolder.h"
#include "archive/VolumeOrder.h"
#include "archive/VolumeRules.h"

namespace {

// The message names at most this many; the rest are counted.
constexpr std::size_t kNamedInMessage = 12;

// Why the file at path is no volume; empty when it is one: a regular file
// with a volume's header.
QString WhyNotVolume(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0)
    return errno == ENOENT || errno == ENOTDIR ? QStringLiteral("файл не найден")
                                               : QStringLiteral("нет доступа");
  if (!S_ISREG(info.st_mode)) return QStringLiteral("не является томом архива");
  if (info.st_size == 0) return QStringLiteral("пустой файл");
  FileHandle file;
  if (!file.Open(path, FileHandle::Mode::ReadOnly)) return QStringLiteral("нет доступа");
  VolumeHeader header;
  if (!ReadVolumeHeader(file, header) || !header.HasMagic())
    return QStringLiteral("не является томом архива");
  return {};
}

std::string Encoded(const QString& name) { return QFile::encodeName(name).toStdString(); }

// A name met twice (a file named and in a folder named) is said once.
void Refuse(VolumeChoice& choice, const QString& name, const QString& reason) {
  for (const RefusedName& r : choice.refused)
    if (r.name == name) return;
  choice.refused.push_back({name, reason});
}

}  // namespace

VolumeChoice ChooseVolumes(const QStringList& names) {
  VolumeChoice choice;
  std::vector<std::string> volumes;
  const auto check = [&](const std::string& path) {
    const QString why = WhyNotVolume(path);
    if (why.isEmpty())
      volumes.push_back(path);
    else
      Refuse(choice, QFile::decodeName(QByteArray::fromStdString(path)), why);
  };
  for (const QString& name : names) {
    if (!QFileInfo(name).isDir()) {
      check(Encoded(name));
      continue;
    }
    const std::vector<std::string> files = VolumesInFolder(Encoded(name));
    if (files.empty()) Refuse(choice, name, QStringLiteral("в папке нет томов архива"));
    for (const std::string& file : files) check(file);
  }
  choice.volumes = OrderByFirstRecord(volumes);
  return choice;
}

VolumeList VolumesNamed(const QStringList& names) { return ChooseVolumes(names).volumes; }

QString NoVolumeMessage(const std::vector<RefusedName>& refused) {
  QString text = QStringLiteral("Среди выбранных нет томов архива:\n");
  for (std::size_t i = 0; i < refused.size() && i < kNamedInMessage; ++i)
    text += QLatin1Char('\n') + refused[i].name + QStringLiteral(" — ") + refused[i].reason;
  if (refused.size() > kNamedInMessage)
    text += QStringLiteral("\n… и ещё %1").arg(static_cast<qsizetype>(refused.size() - kNamedInMessage));
  return text;
}

QString LeftOutStatus(const std::vector<RefusedName>& refused) {
  if (refused.empty()) return {};
  QStringList parts;
  for (const RefusedName& r : refused)
    parts << QFileInfo(r.name).fileName() + QStringLiteral(" (") + r.reason + QLatin1Char(')');
  return QStringLiteral("Не открыты: ") + parts.join(QStringLiteral(", "));
}
