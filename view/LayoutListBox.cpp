#include "view/LayoutListBox.h"

#include <QKeyEvent>

TLayoutListBox::TLayoutListBox(QWidget* parent) : QListWidget(parent) {}

int TLayoutListBox::SelectedRow() const {
  const QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? -1 : row(selected.first());
}

void TLayoutListBox::keyPressEvent(QKeyEvent* event) {
  // Focus alone makes the first entry current without selecting it; the
  // first Down then selects the first entry, as in a list with no current
  // entry at all.
  if (SelectedRow() < 0) setCurrentIndex(QModelIndex());
  const int before = SelectedRow();
  QListWidget::keyPressEvent(event);
  const int after = SelectedRow();
  if (after >= 0 && after != before) emit KeyboardSelect();
}
