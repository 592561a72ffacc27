#pragma once
// VolumeOpenDialog: the main window's open dialog. An archive is many
// volumes, so the operator may choose several files at once (a selection in
// the list, or names typed in double quotes), take the whole folder in view
// with one button, or type a name that does not exist yet: the main window
// then keeps that name and its opening fails quietly, as with any volume it
// cannot read. A folder chosen with the open button is entered, as in any
// file dialog.

#include <QFileDialog>
#include <QStringList>

class QLineEdit;
class QPushButton;

class VolumeOpenDialog final : public QFileDialog {
  Q_OBJECT

 public:
  explicit VolumeOpenDialog(QWidget* parent = nullptr);

  // After the dialog was accepted: the chosen files with whole paths, or
  // one folder (from FolderButton).
  const QStringList& Chosen() const { return chosen_; }

  QLineEdit* NameEdit() const { return nameEdit_; }
  QPushButton* OpenButton() const { return openButton_; }
  // Takes every volume of the folder in view.
  QPushButton* FolderButton() const { return folderButton_; }

  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ChooseFolder();
  void AllowTypedName();
  // The names in the name field with whole paths; empty when it is blank.
  QStringList TypedNames() const;

  QStringList chosen_;
  QLineEdit* nameEdit_ = nullptr;
  QPushButton* openButton_ = nullptr;
  QPushButton* folderButton_ = nullptr;
};
