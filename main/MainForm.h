#pragma once
// TMainForm: the main window. It owns the program-wide objects that the
// other windows share, the VolumeList, the single TOrxRead and the
// LayoutList, from its creation to its closing; it opens volumes from the
// menu or from the command line, shows the playback window on demand, and
// keeps its placement in OrxViewer.cfg (section MainForm).

#include <QCoreApplication>
#include <QMainWindow>
#include <QStringList>
#include <memory>

#include "archive/OrxRead.h"
#include "archive/VolumeList.h"
#include "view/CameraLayout.h"

class QAction;
class TExportCheck;
class QDialog;
class QMenu;
class QMenuBar;
class QStatusBar;

namespace Ui {
class TMainFormForm;
}

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  // arguments: the command line as QCoreApplication::arguments() gives it;
  // the arguments after the program, when present, name the volumes (or
  // folders of volumes) to open and show.
  explicit TMainForm(QStringList arguments = QCoreApplication::arguments(),
                     QWidget* parent = nullptr);
  ~TMainForm() override;

  QMenuBar* MainMenu = nullptr;
  QMenu* FileItem = nullptr;
  QAction* OpenItem = nullptr;
  QAction* ViewItem = nullptr;
  QAction* ExitItem = nullptr;

  // The program-wide objects; null after FormClose. A window given
  // references to them must not use them once the main window has closed.
  VolumeList* Volumes() const { return volumeList_.get(); }
  TOrxRead* Reader() const { return reader_.get(); }
  LayoutList* Layouts() const { return layoutList_.get(); }

  // The playback window that ViewItem and a command-line opening show
  // modally (not owned).
  void SetArchView(QDialog* view) { archView_ = view; }

  // Handlers.
  void FormCreate();
  void FormShow();
  void FormClose();
  void OpenItemClick();
  void ViewItemClick();
  void ExitItemClick();
  // A checked export folder: a notice naming what differs from its
  // SHA256SUMS, or a quiet word in the status bar when nothing does.
  void ExportChecked(const QString& folder, const QStringList& problems, int matched);

  // "OrxViewer.cfg" in the configuration directory.
  static QString ConfigPath();
  // "OrxCamVis.cfg", the camera layouts, in the configuration directory.
  static QString LayoutPath();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void ShowArchView();
  // Checks the export folders among the names opened, on a thread of its
  // own; a check still running for earlier names is stopped.
  void CheckExports(const QStringList& names);
  // Opens the archive of the named files and folders. Without a volume
  // among them it says so in a message and leaves the archive that was open
  // as it was; otherwise the volumes replace it, the status names the files
  // left out, and the result is the reader's Open.
  bool OpenChosen(const QStringList& names);

  std::unique_ptr<Ui::TMainFormForm> ui_;
  QStringList arguments_;
  QDialog* archView_ = nullptr;
  // Made when there is first something to say: the names left out.
  QStatusBar* statusBar_ = nullptr;
  bool shown_ = false;
  bool closed_ = false;
  // Declared so that destruction without FormClose releases them in the
  // same order as FormClose: the reader, the VolumeList, the LayoutList.
  std::unique_ptr<LayoutList> layoutList_;
  std::unique_ptr<VolumeList> volumeList_;
  std::unique_ptr<TOrxRead> reader_;
  std::unique_ptr<TExportCheck> exportCheck_;
};
