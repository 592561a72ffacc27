#pragma once
// TExportCheck: an export folder that is opened is checked against its
// SHA256SUMS on a thread of its own, while playback starts: the window's
// thread never waits for the hashing. Each folder's result comes back by a
// queued signal.

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <thread>

#include "export/ManifestCheck.h"

class TExportCheck final : public QObject {
  Q_OBJECT

 public:
  explicit TExportCheck(QStringList folders, QObject* parent = nullptr);
  // Stops the check after the block in hand and waits for its thread.
  ~TExportCheck() override;

  // Starts checking the folders, one after the other; connect to Checked
  // first, since a small folder is done at once.
  void Start();

  // The folders among names (volumes and folders as opened) that hold a
  // SHA256SUMS: a folder named, or the folder of a file named; each once.
  static QStringList ExportFolders(const QStringList& names);

  // The lines that tell the operator what differs from the manifest
  // ("Файл изменён после экспорта: ..."); none when everything matches.
  static QStringList ProblemLines(const ManifestCheck& check);

 signals:
  // One folder checked: its problem lines and how many files matched.
  void Checked(const QString& folder, const QStringList& problems, int matched);

 private:
  QStringList folders_;
  std::atomic<bool> stop_{false};
  std::thread worker_;
};
