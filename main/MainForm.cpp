#include "main/MainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFile>
#include <QMenuBar>
#include <QSettings>
#include <QShowEvent>
#include <QStatusBar>
#include <utility>

#include "main/ExportCheck.h"
#include "main/VolumeChoice.h"
#include "platform/qt/PlatformServices.h"
#include "view/LayoutFile.h"
#include "ui_MainForm.h"

namespace {

const QString kTitle = QStringLiteral("Orx Viewer");
// Two blanks before the dash.
const QString kTitleWithPath = QStringLiteral("Orx Viewer  - ");
const QString kSection = QStringLiteral("MainForm");

// "Orx Viewer  - " and the first volume, between double quotes when it came
// from the command line; several volumes add how many more: " (+2)".
QString OpenedTitle(const VolumeList& volumes, bool quoted) {
  if (volumes.empty()) return kTitle;
  const QString first = QFile::decodeName(QByteArray::fromStdString(volumes.front()));
  QString title = kTitleWithPath;
  if (quoted)
    title += QLatin1Char('"') + first + QLatin1Char('"');
  else
    title += first;
  if (volumes.size() > 1)
    title += QStringLiteral(" (+%1)").arg(static_cast<qsizetype>(volumes.size() - 1));
  return title;
}

int ReadInt(const QSettings& settings, const QString& key, int fallback) {
  bool ok = false;
  const int value = settings.value(key).toInt(&ok);
  return ok ? value : fallback;
}

}  // namespace

TMainForm::TMainForm(QStringList arguments, QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::TMainFormForm>()),
      arguments_(std::move(arguments)) {
  ui_->setupUi(this);
  MainMenu = ui_->MainMenu;
  FileItem = ui_->FileItem;
  OpenItem = ui_->OpenItem;
  ViewItem = ui_->ViewItem;
  ExitItem = ui_->ExitItem;
  // A plain client area in the colour of an application workspace.
  ui_->ClientArea->setBackgroundRole(QPalette::Dark);
  setWindowTitle(kTitle);

  connect(OpenItem, &QAction::triggered, this, &TMainForm::OpenItemClick);
  connect(ViewItem, &QAction::triggered, this, &TMainForm::ViewItemClick);
  connect(ExitItem, &QAction::triggered, this, &TMainForm::ExitItemClick);
  FormCreate();
}

TMainForm::~TMainForm() = default;

QString TMainForm::ConfigPath() { return ViewerConfigPath(); }

QString TMainForm::LayoutPath() {
  return Platform().ConfigDirectory() + QLatin1Char('/') + QLatin1String(LayoutFileName);
}

void TMainForm::FormCreate() {
  {
    const QSettings settings(ConfigPath(), QSettings::IniFormat);
    const QString prefix = kSection + QLatin1Char('/');
    const int top = ReadInt(settings, prefix + QStringLiteral("Top"), 0);
    const int left = ReadInt(settings, prefix + QStringLiteral("Left"), 0);
    const int width = ReadInt(settings, prefix + QStringLiteral("Width"), 640);
    const int height = ReadInt(settings, prefix + QStringLiteral("Height"), 480);
    move(left, top);
    resize(width, height);
  }
  volumeList_ = std::make_unique<VolumeList>();
  reader_ = std::make_unique<TOrxRead>(*volumeList_);
  layoutList_ = std::make_unique<LayoutList>();
  ReadLayoutFile(LayoutPath(), *layoutList_);  // a missing file leaves it empty
  ViewItem->setEnabled(true);
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  // After the window is on screen, so that the playback window opens over
  // it.
  QMetaObject::invokeMethod(this, &TMainForm::FormShow, Qt::QueuedConnection);
}

void TMainForm::FormShow() {
  if (arguments_.size() < 2 || !reader_) return;
  // Each argument is a volume or a folder of volumes. Blanks around a path
  // are not part of it (a path typed or pasted inside the quotes with a
  // blank before or after it).
  QStringList names;
  for (qsizetype i = 1; i < arguments_.size(); ++i) names << arguments_.at(i).trimmed();
  if (!OpenChosen(names)) return;
  ShowArchView();
  setWindowTitle(OpenedTitle(*volumeList_, /*quoted=*/true));
}

void TMainForm::OpenItemClick() {
  if (!reader_) return;
  QStringList names;
  // Cancelled, the archive that was open stays open.
  if (!Platform().OpenVolumes(this, names)) return;
  names.removeAll(QString());
  if (names.isEmpty()) return;
  if (!OpenChosen(names)) return;
  setWindowTitle(OpenedTitle(*volumeList_, /*quoted=*/false));
}

bool TMainForm::OpenChosen(const QStringList& names) {
  VolumeChoice choice = ChooseVolumes(names);
  if (choice.volumes.empty()) {
    // Nothing to open: said once, and the archive that was open stays.
    Platform().Warning(this, QStringLiteral("Открытие архива"), NoVolumeMessage(choice.refused));
    return false;
  }
  reader_->Close();
  setWindowTitle(kTitle);
  ViewItem->setEnabled(false);
  *volumeList_ = std::move(choice.volumes);
  CheckExports(names);
  const QString leftOut = LeftOutStatus(choice.refused);
  if (!leftOut.isEmpty() || statusBar_) {
    // The names left out are said where they do not stand in the way.
    if (!statusBar_) statusBar_ = statusBar();
    statusBar_->showMessage(leftOut);
  }
  if (!reader_->Open()) return false;  // a volume gone since it was looked at
  ViewItem->setEnabled(true);
  reader_->Close();
  return true;
}

void TMainForm::ViewItemClick() { ShowArchView(); }

void TMainForm::ShowArchView() {
  if (archView_) archView_->exec();
}

void TMainForm::ExitItemClick() { close(); }

void TMainForm::CheckExports(const QStringList& names) {
  exportCheck_.reset();
  // A word about the folder opened before does not stand for this one.
  if (QStatusBar* bar = findChild<QStatusBar*>()) bar->clearMessage();
  const QStringList folders = TExportCheck::ExportFolders(names);
  if (folders.isEmpty()) return;
  exportCheck_ = std::make_unique<TExportCheck>(folders);
  // Results of a check stopped meanwhile go with it.
  connect(exportCheck_.get(), &TExportCheck::Checked, exportCheck_.get(),
          [this](const QString& folder, const QStringList& problems, int matched) {
            ExportChecked(folder, problems, matched);
          });
  exportCheck_->Start();
}

void TMainForm::ExportChecked(const QString& folder, const QStringList& problems, int matched) {
  if (problems.isEmpty()) {
    statusBar()->showMessage(
        QStringLiteral("Экспорт проверен по SHA256SUMS: изменённых файлов нет (проверено: %1)")
            .arg(matched));
    return;
  }
  // Over the playback window when it is up, where the operator looks.
  QWidget* over = QApplication::activeModalWidget();
  Platform().Notice(over ? over : this, QStringLiteral("Проверка экспорта"),
                    problems.join(QLatin1Char('\n')) + QStringLiteral("\n\nПапка экспорта: ") +
                        folder +
                        QStringLiteral("\nКонтрольные суммы записаны при экспорте в SHA256SUMS. "
                                       "Смотреть файлы можно и дальше."));
}

void TMainForm::closeEvent(QCloseEvent* event) {
  FormClose();
  QMainWindow::closeEvent(event);
}

void TMainForm::FormClose() {
  if (closed_) return;
  closed_ = true;
  {
    QSettings settings(ConfigPath(), QSettings::IniFormat);
    settings.beginGroup(kSection);
    settings.setValue(QStringLiteral("Top"), y());
    settings.setValue(QStringLiteral("Left"), x());
    settings.setValue(QStringLiteral("Width"), width());
    settings.setValue(QStringLiteral("Height"), height());
    settings.endGroup();
    settings.sync();  // a file that cannot be written is not reported
  }
  // Written also when nothing changed; a failure is not reported either.
  if (layoutList_) WriteLayoutFile(LayoutPath(), *layoutList_);
  exportCheck_.reset();
  if (reader_) reader_->Close();
  reader_.reset();
  volumeList_.reset();
  layoutList_.reset();
}
