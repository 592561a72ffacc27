#include "platform/qt/VolumeOpenDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

VolumeOpenDialog::VolumeOpenDialog(QWidget* parent) : QFileDialog(parent) {
  // Qt's own widgets: a desktop's native dialog could be neither extended
  // nor made to accept a name that does not exist.
  setOption(QFileDialog::DontUseNativeDialog, true);
  setAcceptMode(QFileDialog::AcceptOpen);
  setFileMode(QFileDialog::ExistingFiles);
  // Room for the names, sizes and dates of a recorder's volumes: Qt's
  // columns are too narrow for "16.0 MiB" and a whole date.
  resize(780, 480);
  auto* details = findChild<QTreeView*>(QStringLiteral("treeView"));
  auto* files = findChild<QFileSystemModel*>();
  if (details && files)
    connect(files, &QFileSystemModel::directoryLoaded, details, [details] {
      for (int column = 1; column < details->header()->count(); ++column)
        details->resizeColumnToContents(column);
    });
  nameEdit_ = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  auto* buttons = findChild<QDialogButtonBox*>();
  if (buttons) {
    openButton_ = buttons->button(QDialogButtonBox::Open);
    folderButton_ = buttons->addButton(QStringLiteral("Вся папка"),
                                       QDialogButtonBox::ActionRole);
    folderButton_->setToolTip(QStringLiteral("Открыть все тома (*.oxa) этой папки"));
    folderButton_->setAutoDefault(false);
    connect(folderButton_, &QPushButton::clicked, this, &VolumeOpenDialog::ChooseFolder);
  }
  // Qt disables the open button while a typed name is no existing file;
  // here such a name is an answer like any other. Connected after Qt's own
  // handler of the same signal, so this one has the last word.
  if (openButton_) openButton_->installEventFilter(this);
  if (nameEdit_)
    connect(nameEdit_, &QLineEdit::textChanged, this, &VolumeOpenDialog::AllowTypedName);
}

void VolumeOpenDialog::AllowTypedName() {
  if (openButton_ && !openButton_->isEnabled() && nameEdit_ &&
      !nameEdit_->text().trimmed().isEmpty())
    openButton_->setEnabled(true);
}

bool VolumeOpenDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == openButton_ && event->type() == QEvent::EnabledChange) AllowTypedName();
  return QFileDialog::eventFilter(watched, event);
}

QStringList VolumeOpenDialog::TypedNames() const {
  const QString text = nameEdit_ ? nameEdit_->text() : QString();
  if (text.trimmed().isEmpty()) return {};
  // Several names are written "a.oxa" "b.oxa", as the dialog itself writes
  // a selection of several files.
  QStringList tokens;
  if (!text.contains(QLatin1Char('"'))) {
    tokens << text;
  } else {
    const QStringList parts = text.split(QLatin1Char('"'));
    for (qsizetype i = 1; i < parts.size(); i += 2)
      if (!parts[i].isEmpty()) tokens << parts[i];
  }
  QStringList names;
  for (QString token : tokens) {
    if (token == QStringLiteral("~") || token.startsWith(QStringLiteral("~/")))
      token = QDir::homePath() + token.mid(1);
    names << QDir::cleanPath(directory().absoluteFilePath(token));
  }
  return names;
}

void VolumeOpenDialog::accept() {
  // The name field holds the selection too, unless the operator typed over
  // it; only a selection of folders leaves it empty.
  QStringList names = TypedNames();
  if (names.isEmpty()) names = selectedFiles();
  if (names.isEmpty()) return;
  for (const QString& name : names) {
    const QFileInfo info(name);
    if (info.isDir()) {
      setDirectory(QDir::cleanPath(info.absoluteFilePath()));
      if (nameEdit_) nameEdit_->clear();
      return;
    }
  }
  chosen_ = names;
  QDialog::accept();
}

void VolumeOpenDialog::ChooseFolder() {
  chosen_ = QStringList{directory().absolutePath()};
  QDialog::accept();
}
