#pragma once
// TLayoutListBox: the list box of camera layouts. Besides a click on an
// entry it reports a selection moved with the keyboard (arrows, Home, End,
// page keys, typing a name's first letters), so that the layout follows the
// selection whichever way the operator moves it.

#include <QListWidget>

class TLayoutListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit TLayoutListBox(QWidget* parent = nullptr);

  // The row of the selected entry, -1 when none is selected (an entry may
  // be current without being selected).
  int SelectedRow() const;

 signals:
  // A key moved the selection to another entry.
  void KeyboardSelect();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};
