#pragma once
// PlatformServices: the operating-system services that the windows use and
// that tests must script: the open-file and save-picture dialogs, the print
// dialog, message boxes, the beep and the directory of the configuration
// files. Production code reaches them through Platform(); the program runs
// with QtPlatformServices, a test installs a ScriptedPlatform.

#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

// A save dialog that offers several types of file.
struct SaveFileRequest {
  QString title;
  QString acceptLabel;  // the caption of the button that accepts
  QString directory;    // shown first
  QString initialName;
  QStringList types;  // "Тома архива (*.oxa)", ...; the first is chosen at first
};

struct SaveFileAnswer {
  QString path;  // the whole path chosen
  int type = 0;  // index of the type chosen
};

class PlatformServices {
 public:
  virtual ~PlatformServices() = default;

  // Save dialog of several file types that takes any name, existing or not,
  // without asking about replacing a file. When the type changes, the
  // name's suffix follows it. False when the operator cancels.
  virtual bool SaveFileOfType(QWidget* parent, const SaveFileRequest& request,
                              SaveFileAnswer& answer) = 0;

  // The main window's open dialog (VolumeOpenDialog): several files, a name
  // that does not exist yet, or one folder. False when the operator cancels;
  // on true, paths holds the chosen names with whole paths.
  virtual bool OpenVolumes(QWidget* parent, QStringList& paths) = 0;

  // Save dialog for pictures. filter is written "Bitmaps (*.bmp)|*.bmp"
  // (description|patterns), further pairs for further file types, the first
  // one chosen at first; defaultSuffix is appended to a name without one
  // (the chosen type's own, once another is chosen). False when the
  // operator cancels; on true, type is the index of the chosen file type
  // among the pairs (0 for the first).
  virtual bool SavePicture(QWidget* parent, const QString& title,
                           const QString& initialName, const QString& filter,
                           const QString& defaultSuffix, QString& path, int& type) = 0;

  // Print dialog over printer (it sets the printer up). False on cancel.
  virtual bool Print(QWidget* parent, QPrinter& printer) = 0;

  // Modal message box with an information icon and only an OK button.
  virtual void Information(QWidget* parent, const QString& title,
                           const QString& text) = 0;
  // Modal question with Yes and No; true for Yes.
  virtual bool Question(QWidget* parent, const QString& title,
                        const QString& text) = 0;
  // Modal message box with a warning icon and only an OK button.
  virtual void Warning(QWidget* parent, const QString& title,
                       const QString& text) = 0;
  // The same box without waiting for it: the program goes on while it is
  // shown, and it closes with its OK button.
  virtual void Notice(QWidget* parent, const QString& title, const QString& text) = 0;

  // The default system beep.
  virtual void Beep() = 0;

  // Shows folder in the desktop's file manager.
  virtual void OpenFolder(const QString& folder) = 0;

  // The directory of OrxViewer.cfg and OrxCamVis.cfg, without a trailing
  // separator. The same for the whole run, so both files are read from and
  // written to one place.
  virtual QString ConfigDirectory() const = 0;
};

// The real dialogs and boxes; the configuration lies beside the executable
// when that folder is writable, otherwise in the user's configuration folder
// (ChooseConfigDirectory), unless SetConfigDirectory chose another directory.
class QtPlatformServices final : public PlatformServices {
 public:
  bool OpenVolumes(QWidget* parent, QStringList& paths) override;
  bool SaveFileOfType(QWidget* parent, const SaveFileRequest& request,
                      SaveFileAnswer& answer) override;
  bool SavePicture(QWidget* parent, const QString& title,
                   const QString& initialName, const QString& filter,
                   const QString& defaultSuffix, QString& path, int& type) override;
  bool Print(QWidget* parent, QPrinter& printer) override;
  void Information(QWidget* parent, const QString& title,
                   const QString& text) override;
  bool Question(QWidget* parent, const QString& title,
                const QString& text) override;
  void Warning(QWidget* parent, const QString& title,
               const QString& text) override;
  void Notice(QWidget* parent, const QString& title, const QString& text) override;
  void Beep() override;
  void OpenFolder(const QString& folder) override;
  QString ConfigDirectory() const override;

  // An empty directory restores the choice between the executable's
  // directory and the user's configuration folder.
  void SetConfigDirectory(const QString& directory) { configDirectory_ = directory; }

 private:
  QString configDirectory_;
  mutable QString chosenDirectory_;  // the choice, made once per run
};

// executableDirectory when files can be created in it (a program run from
// its build folder or a folder of its own); otherwise userDirectory, which
// is created when missing (an installed program, whose folder belongs to
// the system).
QString ChooseConfigDirectory(const QString& executableDirectory,
                              const QString& userDirectory);

// "OrxViewer.cfg" in the configuration directory: the windows' placement and
// the viewer's other settings.
QString ViewerConfigPath();

// The installed services (QtPlatformServices unless another was installed).
PlatformServices& Platform();

// Installs services (not owned; they must outlive their use); nullptr
// restores the real ones.
void InstallPlatform(PlatformServices* services);

// "Bitmaps (*.bmp)|*.bmp" -> "Bitmaps (*.bmp)": the patterns in the form that
// QFileDialog reads. Pairs separated by further '|' become separate filters.
QString QtFileFilter(const QString& filter);
