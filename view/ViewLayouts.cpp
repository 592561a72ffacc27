// TView: the camera layouts of the side panel. Storing keeps the arrangement
// on screen under a name, a click (or a key) on an entry applies it, and the
// delete button drops the selected one. Index i of Layouts and entry i of
// Configs always name the same layout.

#include <QLineEdit>
#include <algorithm>

#include "platform/qt/PlatformServices.h"
#include "view/LayoutListBox.h"
#include "view/View.h"

namespace {

// The name as the record will hold it: characters that Windows-1251 lacks
// are stored as '?', so the list shows, and compares, what the file keeps.
QString StoredName(const QString& text) {
  CameraLayout layout;
  layout.SetNameText(text);
  return layout.NameText();
}

}  // namespace

void TView::SaveBtnClick() {
  if (NewEdit->text().isEmpty()) return;
  // Letter case ignored as a person reads the names: Вход is вход.
  const QString name = StoredName(NewEdit->text());
  for (int i = 0; i < Configs->count(); ++i) {
    if (QString::compare(Configs->item(i)->text(), name, Qt::CaseInsensitive) == 0) {
      Platform().Warning(this, QStringLiteral("Ошибка"),
                         QStringLiteral("Конфигурация уже существует"));
      return;
    }
  }
  SaveLayout();
}

void TView::SaveLayout() {
  CameraLayout layout;
  layout.GridSize = GridSize;
  // The arrangement in grid units, from the cells' pixel rectangles.
  CaptureGrid();
  layout.Row = CellRow;
  layout.Column = CellColumn;
  layout.WidthSpan = CellWidthSpan;
  layout.HeightSpan = CellHeightSpan;
  for (int i = 0; i < CellCount; ++i) layout.Visible[i] = CellShown[i] ? 1 : 0;
  layout.SetNameText(NewEdit->text());

  const int selected = Configs->SelectedRow();
  const int p = std::min(selected >= 0 ? selected : 0, static_cast<int>(Layouts.size()));
  Configs->insertItem(p, layout.NameText());
  Layouts.insert(Layouts.begin() + p, layout);
  if (selected >= 0) {
    // The new entry stands just before the one that was selected, and takes
    // its place as the selected and current layout.
    Configs->setCurrentRow(p);
    ApplyLayout(p);
  } else {
    Configs->clearSelection();
    ApplyLayout(-1);
  }
}

void TView::ConfigsClick() {
  const int row = Configs->SelectedRow();
  if (row < 0) return;
  ApplyLayout(row);
  NewEdit->setText(Configs->item(row)->text());
  LayoutChanged();
}

void TView::DelBtnClick() {
  const int row = Configs->SelectedRow();
  if (row < 0) return;
  NewEdit->clear();
  if (static_cast<std::size_t>(row) < Layouts.size()) Layouts.erase(Layouts.begin() + row);
  delete Configs->takeItem(row);
  if (Configs->count() > 0) {
    Configs->setCurrentRow(0);
    ApplyLayout(0);
  } else {
    ApplyLayout(-1);
  }
  LayoutChanged();
}
