#pragma once
// Where the playback window's export goes and in which form: the export's
// save dialog ("Экспорт фрагмента"), offering archive volumes (first, as
// the export always made them) and video for any player. The name chosen
// only points at a folder: the export makes its own "TempORX-..." folder
// there.

#include <QString>

#include "export/ExportRequest.h"

class QWidget;

// "Экспорт фрагмента": the dialog's title, and the title of the messages
// about the export.
QString ExportTitle();

struct ExportDestination {
  QString directory;  // where the export's folder is made
  ExportFormat format = ExportFormat::Volumes;
};

// Shows the dialog over parent in directory (the last export's, or the home
// folder when empty). False when the operator cancels.
bool ChooseExportDestination(QWidget* parent, const QString& directory,
                             ExportDestination& destination);

// The form an answer asks for: the suffix of the name typed (.oxa or .mkv,
// any letter case) where it names one, otherwise the type chosen (0
// volumes, 1 video).
ExportFormat ExportFormatOf(const QString& path, int type);
