#pragma once
// The message that ends an export from the playback window: where the
// files went and what they hold (frames, files, bytes, the recorded times
// written), or that the export was interrupted or failed and what it kept;
// it offers to open the folder.

#include <QString>
#include <string>

#include "export/ExportHandover.h"

class QWidget;

// folderMade: the export's folder could be made.
QString ExportEndText(const QString& folder, bool folderMade, ExportFormat format,
                      const ExportSummary& summary);

// Shows the text over parent; when the folder exists, as a question whether
// to open it, and opens it on yes.
void TellExportEnd(QWidget* parent, const QString& folder, bool folderMade, ExportFormat format,
                   const ExportSummary& summary);

// Says that no video can be made: libavformat does not load (why).
void TellVideoUnavailable(QWidget* parent, const std::string& why);
