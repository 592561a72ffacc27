#pragma once
// TCellPanel: a panel that paints its caption centred, the grid area and each
// camera cell of the view window. It reports its mouse events and resizes as
// signals, so the window binds them to its own handlers. With Qt's implicit
// mouse grab the release goes to the panel that got the press, with
// coordinates relative to it.

#include <QFrame>
#include <QPoint>
#include <QString>

class TCellPanel : public QFrame {
  Q_OBJECT

 public:
  explicit TCellPanel(QWidget* parent = nullptr);

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);

  // When false the panel shows no tool tip, whatever its text.
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool show) { showHint_ = show; }

 signals:
  void MouseDown(TCellPanel* sender, Qt::MouseButton button, QPoint pos);
  void MouseMove(TCellPanel* sender, QPoint pos);
  void MouseUp(TCellPanel* sender, Qt::MouseButton button, QPoint pos);
  // The second press of a double click, in place of its MouseDown.
  void MouseDoubleClick(TCellPanel* sender, Qt::MouseButton button, QPoint pos);
  // angleDelta: eighths of a degree, 120 for a usual notch; up is positive.
  void MouseWheel(TCellPanel* sender, QPoint pos, QPoint angleDelta);
  void Resized(TCellPanel* sender);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QString caption_;
  bool showHint_ = true;
};
