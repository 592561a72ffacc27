#pragma once
// ScriptedPlatform: PlatformServices for tests. Dialogs answer from queues
// filled by the test (an empty queue cancels, a question then answers No) and
// every call is recorded, so a test can check what the operator would have
// seen. Nothing is shown on screen.

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

#include "platform/qt/PlatformServices.h"

class ScriptedPlatform final : public PlatformServices {
 public:
  struct Box {
    QString title;
    QString text;
  };
  struct SaveCall {
    QString title, initialName, filter, defaultSuffix;
  };

  explicit ScriptedPlatform(QString configDirectory = QString())
      : configDirectory_(std::move(configDirectory)) {}

  // Answers, taken front first. std::nullopt cancels the dialog.
  std::deque<std::optional<QStringList>> volumeAnswers;
  std::deque<std::optional<SaveFileAnswer>> typedSaveAnswers;
  std::deque<std::optional<QString>> saveAnswers;
  // The file type each confirmed save dialog answers with; 0 (the first)
  // when none is left.
  std::deque<int> saveTypeAnswers;
  // true: the print dialog is confirmed and the printer writes a PDF file
  // to printFile; false: cancelled.
  std::deque<bool> printAnswers;
  QString printFile;
  std::deque<bool> questionAnswers;

  // What was asked.
  int volumeCalls = 0;
  std::vector<SaveFileRequest> typedSaveCalls;
  std::vector<QString> openedFolders;
  int printCalls = 0;
  int beeps = 0;
  std::vector<SaveCall> saveCalls;
  std::vector<Box> informations;
  std::vector<Box> questions;
  std::vector<Box> warnings;
  std::vector<Box> notices;

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
  void Notice(QWidget*, const QString& title, const QString& text) override {
    notices.push_back({title, text});
  }
  void Beep() override { ++beeps; }
  void OpenFolder(const QString& folder) override { openedFolders.push_back(folder); }
  QString ConfigDirectory() const override { return configDirectory_; }
  void SetConfigDirectory(const QString& directory) { configDirectory_ = directory; }

 private:
  QString configDirectory_;
};

// Installs a ScriptedPlatform for one scope and restores the real services.
class ScopedPlatform {
 public:
  explicit ScopedPlatform(PlatformServices& services) { InstallPlatform(&services); }
  ~ScopedPlatform() { InstallPlatform(nullptr); }
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;
};
