#pragma once
// TView: the camera view window. A grid of 36 camera cells on a square grid
// of 4, 5 or 6 units per side, rearranged with the mouse and the camera menu,
// full screen, the default-window and grid-size buttons, and the side panel
// of camera layouts. It never decodes or paints frames itself: the derived
// playback window puts pictures into CellImages and learns of every change of
// arrangement through LayoutChanged.
//
// Cell i always shows camera i+1; rearranging moves, sizes, shows and hides
// cells but never changes which camera a cell belongs to.
//
// Handlers are named after component and event, as the form binds them. The
// window's events map onto them: construction runs FormCreate, every showing
// FormShow, every way of closing (ExitBtn, close(), reject, accept, done)
// FormClose exactly once, destruction FormDestroy. A key with a character
// reaches FormKeyPress; Esc does not close the window.

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/CameraMask.h"
#include "view/CameraLayout.h"

class QAction;
class QFrame;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class QToolButton;
class QVBoxLayout;
class TCellImage;
class TCellPanel;
class TLayoutListBox;

namespace Ui {
class TViewForm;
}

// Index in the layout list of the layout applied last; -1 is the plain
// default grid. Program-wide, so it survives closing and re-showing the
// window; set to -1 when the window is created.
extern int CurrentLayout;

inline constexpr int DefaultGridWidth = 768;
inline constexpr int DefaultGridHeight = 528;

class TView : public QDialog {
  Q_OBJECT

 public:
  // REQUIRES: layouts outlives the window (the main window owns it).
  explicit TView(LayoutList& layouts, QWidget* parent = nullptr);
  ~TView() override;

  // --- Components of the form (owned through Qt's parent chain) ---
  // The client area: CommandPanel, then the row of VisPanel and TabPanel.
  // A derived window may add its own panel below that row.
  QVBoxLayout* ClientLayout = nullptr;
  QHBoxLayout* BodyLayout = nullptr;
  QFrame* CommandPanel = nullptr;   // 36 pixels high, buttons at fixed lefts
  QToolButton* FullBtn = nullptr;
  QToolButton* EscFullBtn = nullptr;
  QToolButton* Button43 = nullptr;
  QToolButton* RetBtn = nullptr;
  QToolButton* SetBtn = nullptr;
  QToolButton* StopBtn = nullptr;  // checkable; right click opens PrintSaveMenu
  // Checkable, on at first: the captions over the cells' pictures. Kept at
  // the right edge, before ArchButton; its state is kept in OrxViewer.cfg.
  QToolButton* CaptionBtn = nullptr;
  QPushButton* ArchButton = nullptr;  // kept at the right edge
  QPushButton* ExitBtn = nullptr;     // kept at the right edge
  TCellPanel* VisPanel = nullptr;     // the grid area
  QToolButton* CamBtn = nullptr;      // the corner button, inside VisPanel
  QPushButton* MenuButton = nullptr;  // inside VisPanel, never shown
  QFrame* TabPanel = nullptr;         // side panel, 141 pixels wide
  QLabel* CnfigLabel = nullptr;
  QLineEdit* NewEdit = nullptr;
  QToolButton* SaveBtn = nullptr;
  QToolButton* DelBtn = nullptr;
  TLayoutListBox* Configs = nullptr;
  QMenu* CamPopup = nullptr;
  QTimer* Timer = nullptr;  // 500 ms, running while the window is shown
  QMenu* PrintSaveMenu = nullptr;
  // Ctrl+S and Ctrl+P reach them wherever the focus is in the window, while
  // they are enabled; the menu shows the keys.
  QAction* SaveItem = nullptr;
  QAction* PrintItem = nullptr;

  // --- The cells ---
  std::array<TCellImage*, CellCount> CellImages{};
  std::array<QAction*, CellCount> CameraItems{};  // 0..31 in CamPopup
  std::array<TCellPanel*, CellCount> CellPanels{};
  // Snapshot of the arrangement in grid units, taken by CaptureGrid.
  std::array<std::int32_t, CellCount> CellRow{};
  std::array<std::int32_t, CellCount> CellColumn{};
  std::array<std::int32_t, CellCount> CellWidthSpan{};
  std::array<std::int32_t, CellCount> CellHeightSpan{};
  std::array<bool, CellCount> CellShown{};
  // Date-time of the picture now in each cell; written by the derived window.
  std::array<double, CellCount> CellTime{};
  std::int32_t GridSize = 4;
  std::int32_t PressedCell = -1;
  TCellPanel* HoverCell = nullptr;
  // The picture of the printed page: the last printed grid with its caption
  // strip, kept until the next print.
  QImage QRImage;

  LayoutList& Layouts;

  // --- Operations ---
  // Grid units of every cell from its pixel rectangle (integer division by
  // the present cell size) and its visibility.
  void CaptureGrid();
  // Places all cells by the default grid (index < 0) or by Layouts[index];
  // CurrentLayout = index; ends with CaptureGrid. Does not call
  // LayoutChanged. An index past the list or a record without a positive
  // grid size gives the default grid and CurrentLayout -1.
  void ApplyLayout(int index);
  // Exchanges position, size and visibility of cells a and b; CaptureGrid;
  // LayoutChanged. Indexes outside 0..35 do nothing.
  void SwapCells(int a, int b);
  // Called after every change of the arrangement; empty here.
  virtual void LayoutChanged();

  // Cell size in pixels now: VisPanel width (height) div GridSize, at least 1.
  int CellWidth() const;
  int CellHeight() const;
  // Whether cell i is shown in the grid (its own visibility, independent of
  // whether the window is on screen). This is what "the cell is visible"
  // means everywhere in this window and in the derived one.
  bool CellVisible(int i) const;
  // The numbers (1..32) of the cameras whose cells are visible, in order:
  // the cameras that saving writes and printing lists. Cells 32..35 have
  // no camera.
  std::vector<int> VisibleCameras() const;
  // Index of a cell panel, -1 for anything else.
  int CellIndex(const QObject* panel) const;
  bool IsFullScreen() const;

  // --- Handlers ---
  // Builds the 36 cells and the camera menu. Runs once; later calls (a
  // derived window running it from its own FormCreate) do nothing.
  void FormCreate();
  virtual void FormShow();
  virtual void FormClose();
  // Frees the cells; later calls do nothing.
  void FormDestroy();
  virtual void FormKeyPress(QChar key);
  void VisPanelResize();
  void VisPanelMouseDown(TCellPanel* sender, Qt::MouseButton button, QPoint pos);
  void VisPanelMouseMove(TCellPanel* sender, QPoint pos);
  void VisPanelMouseUp(TCellPanel* sender, Qt::MouseButton button, QPoint pos);
  void CamBtnClick();
  // sender: a camera-menu entry (or any object whose text is a camera
  // number); moves that camera into HoverCell.
  void MenuButtonClick(QObject* sender);
  void SetBtnClick();
  virtual void SizeItemClick();
  virtual void Button43Click();
  void RetBtnClick();
  virtual void ExitBtnClick();
  // The layout panel's buttons and list (camera layouts, ViewLayouts.cpp).
  // SaveBtnClick refuses an empty name and one already listed, SaveLayout
  // stores the arrangement on screen under NewEdit's text.
  void SaveBtnClick();
  void SaveLayout();
  // Also run when a key moves the selection in Configs.
  void ConfigsClick();
  void DelBtnClick();
  // PrintSaveMenu's entries (ViewSave.cpp, ViewPrint.cpp). Printing leaves
  // and enters full screen through the virtual SizeItemClick, so a derived
  // window's own full-screen handler runs.
  void SaveClick();
  virtual void PrintItemClick();
  // StopBtn's click and the Timer's tick; the playback window's business.
  virtual void StopBtnClick();
  virtual void TimerTimer();

  // Where CamBtnClick opens CamPopup, in screen coordinates.
  QPoint CamPopupPosition() const;

  // --- The pictures' captions and the camera menu's marks (ViewCaptions.cpp) ---
  // Shows or hides the captions of all cells at once, as CaptionBtn says,
  // and keeps the choice.
  void CaptionBtnClick();
  // Whether the captions show the date besides the time: the derived window
  // says so when the archive spans more than a day.
  void SetCaptionDates(bool withDate);
  // Marks in the camera menu (in bold) the cameras of the set bits (bit n
  // for camera n+1): those with records in the archive.
  void MarkRecordedCameras(std::uint32_t cameras);

  // --- Zooming into a cell's picture (ViewZoom.cpp) ---
  // The wheel zooms the picture under the pointer around it. While a cell
  // is zoomed a left drag in it moves the picture and a double click shows
  // the whole picture again; clicks and drags that enlarge and swap cells
  // are for cells that are not zoomed.
  void VisPanelMouseWheel(TCellPanel* sender, QPoint pos, QPoint angleDelta);
  void VisPanelMouseDoubleClick(TCellPanel* sender, Qt::MouseButton button, QPoint pos);

 public slots:
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void CreateCell(int i);
  void PlaceCell(int i, std::int64_t column, std::int64_t row, std::int64_t widthSpan,
                 std::int64_t heightSpan, bool visible);
  void EnlargeCell(int i);
  // Leaves the maximised state back to the normal window's geometry.
  void RestoreNormalState();
  // Lays the client area out anew; with a valid sizeBefore, first waits
  // (briefly, operator input held back) for the window system to give the
  // window another size than that.
  void WaitForCaptureSize(QSize sizeBefore);
  // Keeps CaptionBtn, ArchButton and ExitBtn at their distance from the
  // right edge.
  void CommandPanelResized(int oldWidth, int newWidth);
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Reads the captions' choice from OrxViewer.cfg and shows it.
  void ReadCaptionChoice();
  // Every cell's caption as CaptionBtn and the date choice say.
  void ApplyCaptions();
  // The picture control of a cell that is zoomed, or null.
  TCellImage* ZoomedImage(const TCellPanel* cell) const;
  // The cell's cursor: a hand that grabs while its picture is zoomed.
  void UpdateCellCursor(TCellPanel* cell);
  // A left press on a zoomed cell: the drag that follows moves its picture.
  void StartPan(TCellPanel* cell, QPoint pos);
  // The moves and the release of that drag; false when no drag is on.
  bool PanMove(TCellPanel* cell, QPoint pos);
  bool EndPan(TCellPanel* cell, Qt::MouseButton button);

  std::unique_ptr<Ui::TViewForm> ui_;
  bool created_ = false;
  bool moveBusy_ = false;
  bool closing_ = false;
  // The command strip's width that the right-hand buttons are placed for;
  // the form places them for its design width.
  int commandWidth_ = 700;
  bool captionDates_ = false;
  // The cell whose picture a left drag moves, and where the pointer was.
  TCellPanel* panCell_ = nullptr;
  QPoint panLast_;
};
