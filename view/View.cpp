// TView: creation, showing, closing and destruction of the window, and the
// handlers of the command strip that do not concern the grid.

#include "view/View.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QResizeEvent>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>

#include "ui_View.h"
#include "view/ButtonGlyphs.h"
#include "view/CellImage.h"
#include "view/CellPanel.h"
#include "view/LayoutListBox.h"
#include "view/RepaintPacer.h"

int CurrentLayout = -1;

namespace {

constexpr int kTimerInterval = 500;

constexpr const char* kNoSignal = "Нет сигнала";

}  // namespace

TView::TView(LayoutList& layouts, QWidget* parent)
    : QDialog(parent), Layouts(layouts), ui_(std::make_unique<Ui::TViewForm>()) {
  ui_->setupUi(this);
  // A resizable top-level window with only the system menu in its title.
  // The maximise hint lets full screen work: window managers that follow
  // the window's allowed functions (metacity, xfwm4, mutter) refuse to
  // maximise a window that does not offer it.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
  setSizeGripEnabled(false);
  new RepaintPacer(this);

  ClientLayout = ui_->ClientLayout;
  BodyLayout = ui_->BodyLayout;
  CommandPanel = ui_->CommandPanel;
  FullBtn = ui_->FullBtn;
  EscFullBtn = ui_->EscFullBtn;
  Button43 = ui_->Button43;
  RetBtn = ui_->RetBtn;
  SetBtn = ui_->SetBtn;
  StopBtn = ui_->StopBtn;
  CaptionBtn = ui_->CaptionBtn;
  ArchButton = ui_->ArchButton;
  ExitBtn = ui_->ExitBtn;
  VisPanel = ui_->VisPanel;
  CamBtn = ui_->CamBtn;
  MenuButton = ui_->MenuButton;
  TabPanel = ui_->TabPanel;
  CnfigLabel = ui_->CnfigLabel;
  NewEdit = ui_->NewEdit;
  SaveBtn = ui_->SaveBtn;
  DelBtn = ui_->DelBtn;
  Configs = ui_->Configs;

  // Menus and the timer are not widgets of the form's tree.
  CamPopup = new QMenu(this);
  CamPopup->setObjectName(QStringLiteral("CamPopup"));
  PrintSaveMenu = new QMenu(this);
  PrintSaveMenu->setObjectName(QStringLiteral("PrintSaveMenu"));
  SaveItem = PrintSaveMenu->addAction(QStringLiteral("Сохранить изображения"));
  SaveItem->setObjectName(QStringLiteral("SaveItem"));
  SaveItem->setEnabled(false);
  PrintItem = PrintSaveMenu->addAction(QStringLiteral("Печать кадра"));
  PrintItem->setObjectName(QStringLiteral("PrintItem"));
  PrintItem->setEnabled(false);
  SaveItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  PrintItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  for (QAction* item : {SaveItem, PrintItem}) {
    item->setShortcutVisibleInContextMenu(true);
    // The window's own actions as well, so their keys work while the menu
    // is closed.
    addAction(item);
  }
  Timer = new QTimer(this);
  Timer->setObjectName(QStringLiteral("Timer"));
  Timer->setInterval(kTimerInterval);

  FullBtn->setIcon(FullScreenGlyph());
  EscFullBtn->setIcon(RestoreGlyph());
  Button43->setIcon(DefaultWindowGlyph());
  RetBtn->setIcon(SelectedLayoutGlyph());
  SetBtn->setIcon(GridSizeGlyph());
  StopBtn->setIcon(FreezeGlyph());
  CaptionBtn->setIcon(CaptionGlyph());
  SaveBtn->setIcon(SaveLayoutGlyph());
  DelBtn->setIcon(DeleteLayoutGlyph());
  for (QToolButton* b : {FullBtn, EscFullBtn, Button43, RetBtn, SetBtn, StopBtn})
    b->setFocusPolicy(Qt::NoFocus);

  QFont bold = VisPanel->font();
  bold.setBold(true);
  VisPanel->setFont(bold);
  VisPanel->SetCaption(QString::fromUtf8(kNoSignal));
  VisPanel->SetShowHint(false);
  CamBtn->hide();
  MenuButton->hide();
  Configs->setStyleSheet(QStringLiteral("QListWidget::item { height: 15px; }"));

  connect(FullBtn, &QToolButton::clicked, this, [this] { SizeItemClick(); });
  connect(EscFullBtn, &QToolButton::clicked, this, [this] { SizeItemClick(); });
  connect(Button43, &QToolButton::clicked, this, [this] { Button43Click(); });
  connect(RetBtn, &QToolButton::clicked, this, [this] { RetBtnClick(); });
  connect(SetBtn, &QToolButton::clicked, this, [this] { SetBtnClick(); });
  connect(StopBtn, &QToolButton::clicked, this, [this] { StopBtnClick(); });
  connect(CaptionBtn, &QToolButton::clicked, this, [this] { CaptionBtnClick(); });
  connect(StopBtn, &QToolButton::customContextMenuRequested, this,
          [this](const QPoint& pos) { PrintSaveMenu->popup(StopBtn->mapToGlobal(pos)); });
  connect(ExitBtn, &QPushButton::clicked, this, [this] { ExitBtnClick(); });
  connect(CamBtn, &QToolButton::clicked, this, [this] { CamBtnClick(); });
  connect(MenuButton, &QPushButton::clicked, this, [this] { MenuButtonClick(MenuButton); });
  connect(VisPanel, &TCellPanel::Resized, this, [this] { VisPanelResize(); });
  connect(SaveBtn, &QToolButton::clicked, this, [this] { SaveBtnClick(); });
  connect(DelBtn, &QToolButton::clicked, this, [this] { DelBtnClick(); });
  connect(Configs, &QListWidget::itemClicked, this, [this] { ConfigsClick(); });
  connect(Configs, &TLayoutListBox::KeyboardSelect, this, [this] { ConfigsClick(); });
  connect(SaveItem, &QAction::triggered, this, [this] { SaveClick(); });
  connect(PrintItem, &QAction::triggered, this, [this] { PrintItemClick(); });
  connect(Timer, &QTimer::timeout, this, [this] { TimerTimer(); });
  CommandPanel->installEventFilter(this);

  CurrentLayout = -1;
  FormCreate();
  ReadCaptionChoice();
}

TView::~TView() { FormDestroy(); }

void TView::CreateCell(int i) {
  auto* panel = new TCellPanel(VisPanel);
  panel->setObjectName(QStringLiteral("CellPanel%1").arg(i + 1));
  panel->SetCaption(QString::fromUtf8(kNoSignal));
  QFont font(QStringLiteral("Arial"), 8);
  font.setBold(VisPanel->font().bold());
  panel->setFont(font);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setLineWidth(1);
  panel->setCursor(Qt::PointingHandCursor);
  panel->setMouseTracking(true);
  panel->SetShowHint(false);
  panel->hide();
  auto* fill = new QHBoxLayout(panel);
  fill->setContentsMargins(0, 0, 0, 0);
  auto* image = new TCellImage(panel);
  image->setObjectName(QStringLiteral("CellImage%1").arg(i + 1));
  image->SetCamera(i < CameraCount ? i + 1 : 0);
  fill->addWidget(image);
  auto* item = new QAction(this);
  connect(panel, &TCellPanel::MouseDown, this, &TView::VisPanelMouseDown);
  connect(panel, &TCellPanel::MouseMove, this, &TView::VisPanelMouseMove);
  connect(panel, &TCellPanel::MouseUp, this, &TView::VisPanelMouseUp);
  connect(panel, &TCellPanel::MouseDoubleClick, this, &TView::VisPanelMouseDoubleClick);
  connect(panel, &TCellPanel::MouseWheel, this, &TView::VisPanelMouseWheel);
  CellPanels[i] = panel;
  CellImages[i] = image;
  CameraItems[i] = item;
}

void TView::FormCreate() {
  if (created_) return;
  created_ = true;
  for (int i = 0; i < CellCount; ++i) {
    // A cell that cannot be made leaves its place empty; the others are
    // made all the same.
    try {
      CreateCell(i);
    } catch (...) {
    }
  }
  for (TCellImage* image : CellImages) {
    if (!image) continue;
    image->show();
    image->Clear();
  }
  for (int i = 0; i < CameraCount; ++i) {
    if (!CameraItems[i] || !CellPanels[i]) continue;
    QAction* item = CameraItems[i];
    item->setText(QString::number(i + 1));
    CamPopup->addAction(item);
    connect(item, &QAction::triggered, this, [this, item] { MenuButtonClick(item); });
    CellPanels[i]->SetShowHint(true);
  }
  GridSize = 4;
  CurrentLayout = -1;
  PressedCell = -1;
}

void TView::FormDestroy() {
  for (int i = 0; i < CellCount; ++i) {
    delete CellImages[i];
    CellImages[i] = nullptr;
    if (HoverCell == CellPanels[i]) HoverCell = nullptr;
    if (panCell_ == CellPanels[i]) panCell_ = nullptr;
    delete CellPanels[i];
    CellPanels[i] = nullptr;
    delete CameraItems[i];
    CameraItems[i] = nullptr;
  }
}

void TView::FormShow() {
  Configs->clear();
  for (const CameraLayout& layout : Layouts) Configs->addItem(layout.NameText());
  Configs->setCurrentRow(-1);
  Configs->clearSelection();
  Timer->start();
  ApplyLayout(CurrentLayout);
  LayoutChanged();
  SaveItem->setEnabled(false);
  PrintItem->setEnabled(false);
  EscFullBtn->setEnabled(false);
  FullBtn->setEnabled(true);
}

void TView::FormClose() {
  for (TCellImage* image : CellImages)
    if (image) image->Clear();
  panCell_ = nullptr;
  for (TCellPanel* cell : CellPanels)
    if (cell) UpdateCellCursor(cell);
  if (IsFullScreen()) {
    VisPanel->setUpdatesEnabled(false);
    RestoreNormalState();
    TabPanel->show();
    VisPanel->setUpdatesEnabled(true);
  }
  Timer->stop();
}

void TView::done(int result) {
  // Every way of closing ends here (close() and Esc through reject()).
  if (isVisible() && !closing_) {
    closing_ = true;
    FormClose();
    closing_ = false;
  }
  QDialog::done(result);
}

void TView::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A window that the window system shows again (from the task bar) was
  // never closed and is not shown anew.
  if (!event->spontaneous()) FormShow();
}

void TView::LayoutChanged() {}

void TView::ExitBtnClick() { close(); }

void TView::StopBtnClick() {}
void TView::TimerTimer() {}

bool TView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == CommandPanel && event->type() == QEvent::Resize) {
    const int width = static_cast<QResizeEvent*>(event)->size().width();
    CommandPanelResized(commandWidth_, width);
    commandWidth_ = width;
  }
  return QDialog::eventFilter(watched, event);
}

void TView::CommandPanelResized(int oldWidth, int newWidth) {
  const int shift = newWidth - oldWidth;
  for (QWidget* button : {static_cast<QWidget*>(CaptionBtn), static_cast<QWidget*>(ArchButton),
                          static_cast<QWidget*>(ExitBtn)})
    button->move(button->x() + shift, button->y());
}
