#include "platform/qt/PlatformServices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>
#include <algorithm>

#include "platform/qt/VolumeOpenDialog.h"

namespace {

PlatformServices* installed = nullptr;

}  // namespace

PlatformServices& Platform() {
  static QtPlatformServices real;
  return installed ? *installed : real;
}

void InstallPlatform(PlatformServices* services) { installed = services; }

QString ViewerConfigPath() {
  return Platform().ConfigDirectory() + QStringLiteral("/OrxViewer.cfg");
}

QString QtFileFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    // A description that already names its patterns is kept as it is.
    if (!description.contains(QLatin1Char('(')))
      description += QStringLiteral(" (") + patterns + QLatin1Char(')');
    filters << description;
  }
  if (filters.isEmpty() && !filter.isEmpty()) filters << filter;
  return filters.join(QStringLiteral(";;"));
}

bool QtPlatformServices::OpenVolumes(QWidget* parent, QStringList& paths) {
  VolumeOpenDialog dialog(parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  paths = dialog.Chosen();
  return true;
}

bool QtPlatformServices::SaveFileOfType(QWidget* parent, const SaveFileRequest& request,
                                        SaveFileAnswer& answer) {
  QFileDialog dialog(parent, request.title, request.directory);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(request.types);
  if (!request.types.isEmpty()) dialog.selectNameFilter(request.types.first());
  if (!request.acceptLabel.isEmpty()) dialog.setLabelText(QFileDialog::Accept, request.acceptLabel);
  // The caller decides what an existing name means.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.selectFile(request.initialName);
  // The proposed name takes the suffix of the type chosen.
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& type) {
    const qsizetype star = type.indexOf(QStringLiteral("*."));
    if (star < 0) return;
    // "Видео ... (*.mkv)" -> "mkv"
    const QString suffix =
        type.mid(star + 2).section(QLatin1Char(')'), 0, 0).section(QLatin1Char(' '), 0, 0);
    const QString name = QFileInfo(dialog.selectedFiles().value(0)).completeBaseName();
    if (!name.isEmpty()) dialog.selectFile(name + QLatin1Char('.') + suffix);
  });
  if (dialog.exec() != QDialog::Accepted) return false;
  answer.path = dialog.selectedFiles().value(0);
  answer.type = static_cast<int>(std::max<qsizetype>(0, request.types.indexOf(dialog.selectedNameFilter())));
  return true;
}

bool QtPlatformServices::SavePicture(QWidget* parent, const QString& title,
                                     const QString& initialName,
                                     const QString& filter,
                                     const QString& defaultSuffix,
                                     QString& path, int& type) {
  QFileDialog dialog(parent, title);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  const QStringList types = QtFileFilter(filter).split(QStringLiteral(";;"));
  dialog.setNameFilters(types);
  dialog.setDefaultSuffix(defaultSuffix);
  // A name typed without a suffix gets the chosen type's: "*.jpg" gives "jpg".
  const QStringList parts = filter.split(QLatin1Char('|'));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& chosen) {
    const qsizetype index = types.indexOf(chosen);
    const QString patterns = index >= 0 && 2 * index + 1 < parts.size() ? parts[2 * index + 1]
                                                                        : QString();
    const QString first = patterns.section(QLatin1Char(';'), 0, 0);
    dialog.setDefaultSuffix(first.startsWith(QStringLiteral("*.")) ? first.mid(2)
                                                                  : defaultSuffix);
  });
  dialog.selectFile(initialName);
  // Only the folder of the answer is used; an existing file is no reason to
  // ask about replacing it.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList files = dialog.selectedFiles();
  path = files.isEmpty() ? QString() : files.first();
  type = static_cast<int>(std::max<qsizetype>(0, types.indexOf(dialog.selectedNameFilter())));
  return true;
}

bool QtPlatformServices::Print(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

void QtPlatformServices::Information(QWidget* parent, const QString& title,
                                     const QString& text) {
  QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
  box.exec();
}

bool QtPlatformServices::Question(QWidget* parent, const QString& title,
                                  const QString& text) {
  QMessageBox box(QMessageBox::Question, title, text,
                  QMessageBox::Yes | QMessageBox::No, parent);
  return box.exec() == QMessageBox::Yes;
}

void QtPlatformServices::Warning(QWidget* parent, const QString& title,
                                 const QString& text) {
  QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
  box.exec();
}

void QtPlatformServices::Notice(QWidget* parent, const QString& title, const QString& text) {
  auto* box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  box->show();
}

void QtPlatformServices::Beep() { QApplication::beep(); }

void QtPlatformServices::OpenFolder(const QString& folder) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

QString QtPlatformServices::ConfigDirectory() const {
  if (!configDirectory_.isEmpty()) return QDir::cleanPath(configDirectory_);
  if (chosenDirectory_.isEmpty())
    chosenDirectory_ = ChooseConfigDirectory(
        QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
  return chosenDirectory_;
}

QString ChooseConfigDirectory(const QString& executableDirectory,
                              const QString& userDirectory) {
  const QFileInfo folder(executableDirectory);
  if ((folder.isDir() && folder.isWritable()) || userDirectory.isEmpty())
    return QDir::cleanPath(executableDirectory);
  // QSettings makes its folder itself, the layout file's save does not.
  QDir().mkpath(userDirectory);
  return QDir::cleanPath(userDirectory);
}
