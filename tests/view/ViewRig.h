#pragma once
// A shown camera view window for the tests, with a count of LayoutChanged
// calls and of closings, and helpers that drive its cells with the mouse.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QTimer>
#include <QTest>

#include "tests/view/PlainLayout.h"
#include "view/CellImage.h"
#include "view/CellPanel.h"
#include "view/LayoutListBox.h"
#include "view/View.h"

class CountingView : public TView {
 public:
  explicit CountingView(LayoutList& layouts) : TView(layouts) {}
  void LayoutChanged() override { ++layoutChanges; }
  void FormClose() override {
    ++closings;
    TView::FormClose();
  }
  void SizeItemClick() override {
    ++sizeItemClicks;
    TView::SizeItemClick();
  }
  int layoutChanges = 0;
  int closings = 0;
  int sizeItemClicks = 0;
};

class ViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view = std::make_unique<CountingView>(layouts);
    view->show();
    QApplication::processEvents();
  }

  // Sizes the window so that the grid area is w x h pixels.
  void SetGridArea(int w, int h) {
    view->setMinimumSize(0, 0);
    view->resize(view->width() + w - view->VisPanel->width(),
                 view->height() + h - view->VisPanel->height());
    QApplication::processEvents();
    ASSERT_EQ(view->VisPanel->size(), QSize(w, h));
  }

  TCellPanel* Cell(int i) const { return view->CellPanels[i]; }
  QRect Rect(int i) const { return Cell(i)->geometry(); }
  int VisibleCount() const {
    int n = 0;
    for (int i = 0; i < CellCount; ++i) n += view->CellVisible(i) ? 1 : 0;
    return n;
  }
  // A point of cell j in the coordinates of cell i.
  QPoint PointOf(int j, int i, QPoint inJ) const {
    return inJ + Cell(j)->pos() - Cell(i)->pos();
  }
  // Mouse events through the window, as the window system delivers them:
  // Qt routes a release to the widget that got the press. p is in VisPanel
  // coordinates.
  void PressAt(QPoint p, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(view->windowHandle(), button, {}, view->VisPanel->mapTo(view.get(), p));
    QApplication::processEvents();
  }
  void ReleaseAt(QPoint p, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseRelease(view->windowHandle(), button, {}, view->VisPanel->mapTo(view.get(), p));
    QApplication::processEvents();
  }
  void Click(int i, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(Cell(i), button, {}, QPoint(Cell(i)->width() / 2, Cell(i)->height() / 2));
    QApplication::processEvents();
  }

  LayoutList layouts;
  std::unique_ptr<CountingView> view;
};
