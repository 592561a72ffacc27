#pragma once
// PlatformServices: the operating-system services that the windows use and
// that tests must script: the open-file and save-picture dialogs, the print
// dialog, message boxes, the beep and the directory of the configuration
// files. Production code reaches them through Platform(); the program runs
// with QtPlatformServices, a test installs a ScriptedPlatform.

#include <QString>

class QPrinter;
class QWidget;

class PlatformServices {
 public:
  virtual ~PlatformServices() = default;

  // File-open dialog without a file-type filter. False when the operator
  // cancels; on true, path is the chosen name (it may be empty).
  virtual bool OpenFile(QWidget* parent, QString& path) = 0;
  // File-open dialog without a filter that proposes initialName and also
  // takes a name that does not exist yet. False when the operator cancels.
  virtual bool OpenFileName(QWidget* parent, const QString& initialName, QString& path) = 0;

  // Save dialog for pictures. filter is written "Bitmaps (*.bmp)|*.bmp"
  // (description|patterns); defaultSuffix is appended to a name without one.
  // False when the operator cancels.
  virtual bool SavePicture(QWidget* parent, const QString& title,
                           const QString& initialName, const QString& filter,
                           const QString& defaultSuffix, QString& path) = 0;

  // Print dialog over printer (it sets the printer up). False on cancel.
  virtual bool Print(QWidget* parent, QPrinter& printer) = 0;

  // Modal message box with an information icon and only an OK button.
  virtual void Information(QWidget* parent, const QString& title,
                           const QString& text) = 0;
  // Modal question with Yes and No; true for Yes.
  virtual bool Question(QWidget* parent, const QString& title,
                        const QString& text) = 0;

  // The default system beep.
  virtual void Beep() = 0;

  // The directory of OrxViewer.cfg and OrxCamVis.cfg, without a trailing
  // separator.
  virtual QString ConfigDirectory() const = 0;
};

// The real dialogs and boxes; the configuration lies beside the executable
// unless SetConfigDirectory chose another directory.
class QtPlatformServices final : public PlatformServices {
 public:
  bool OpenFile(QWidget* parent, QString& path) override;
  bool OpenFileName(QWidget* parent, const QString& initialName, QString& path) override;
  bool SavePicture(QWidget* parent, const QString& title,
                   const QString& initialName, const QString& filter,
                   const QString& defaultSuffix, QString& path) override;
  bool Print(QWidget* parent, QPrinter& printer) override;
  void Information(QWidget* parent, const QString& title,
                   const QString& text) override;
  bool Question(QWidget* parent, const QString& title,
                const QString& text) override;
  void Beep() override;
  QString ConfigDirectory() const override;

  // An empty directory restores the executable's directory.
  void SetConfigDirectory(const QString& directory) { configDirectory_ = directory; }

 private:
  QString configDirectory_;
};

// The installed services (QtPlatformServices unless another was installed).
PlatformServices& Platform();

// Installs services (not owned; they must outlive their use); nullptr
// restores the real ones.
void InstallPlatform(PlatformServices* services);

// "Bitmaps (*.bmp)|*.bmp" -> "Bitmaps (*.bmp)": the patterns in the form that
// QFileDialog reads. Pairs separated by further '|' become separate filters.
QString QtFileFilter(const QString& filter);
