#include "archview/ArchView.h"

#include <QPushButton>

TArchView::TArchView(TOrxRead& reader, LayoutList& layouts, QWidget* parent)
    : TView(layouts, parent), Reader(reader) {
  setWindowTitle(QStringLiteral("Архив"));
  // The playback window is the archive view itself.
  ArchButton->hide();
}
