#include "stations/tdOrganizer.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "panel/PanelPictures.h"
#include "panel/Prompter.h"
#include "radio/RadioCard.h"
#include "stations/FrequencyText.h"
#include "stations/OrganizerRules.h"
#include "stations/OrganizerWidgets.h"
#include "stations/PresetsBank.h"
#include "stations/TunerSection.h"

namespace ondivo {

namespace {

std::string RowsNotShownMessage(size_t rows) {
  return std::to_string(rows) +
         " entries of Ondivo.db could not be read and are not shown.\r"
         "\"OK\" asks before it saves over the file.";
}

// A small radio set: body, speaker and dial, drawn at 1x and 2x.
QIcon DrawStationIcon() {
  QIcon icon;
  for (const int scale : {1, 2}) {
    QPixmap pixmap(16 * scale, 16 * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.drawLine(QPointF(4, 5), QPointF(11, 1));  // aerial
    p.setBrush(QColor(176, 96, 40));
    p.drawRoundedRect(QRectF(1.5, 5.5, 13, 9), 2, 2);
    p.setBrush(QColor(230, 220, 190));
    p.drawEllipse(QRectF(3.5, 7.5, 5, 5));
    p.setBrush(QColor(40, 40, 40));
    p.drawRect(QRectF(10, 8, 3, 1.5));
    p.drawRect(QRectF(10, 11, 3, 1.5));
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

tdOrganizer::tdOrganizer(QWidget* parent, tOrganizerPanel panel)
    : QDialog(parent),
      panel_(std::move(panel)),
      tree_(LoadOrganizerDatabase(panel_.Database, panel_.Locale, &loaded_)),
      step_(panel_.Step),
      // Made once: a tree of ten thousand nodes asks for them as often.
      folderClosed_(QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon)),
      folderOpen_(QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon)),
      station_(DrawStationIcon()) {
  setObjectName("tdOrganizer");
  setWindowTitle("Channels organizer");
  view_ = new RadioTreeWidget(this);
  view_->setMinimumSize(220, 300);
  tunerGroup_ = new QGroupBox("Tuner", this);
  tunerGroup_->setObjectName("StationData");
  auto* tunerColumn = new QVBoxLayout(tunerGroup_);
  tuner_ = new TunerSection(tunerGroup_, {true, true}, panel_.Locale);
  tunerColumn->addWidget(tuner_);
  // Hidden while a folder is selected, it keeps its place: the dialog does not jump in size
  // and the preset buttons stay where the pointer left them.
  QSizePolicy keep = tunerGroup_->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  tunerGroup_->setSizePolicy(keep);
  auto* presets = new QGroupBox("Presets", this);
  BuildPresets(presets);

  auto* buttons = new QDialogButtonBox(this);
  auto* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
  ok->setObjectName("btOk");
  auto* cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
  cancel->setObjectName("btCancel");
  auto* help = buttons->addButton("Help", QDialogButtonBox::HelpRole);
  help->setObjectName("btHelp");
  for (QPushButton* b : {ok, cancel, help}) b->setAutoDefault(false);
  connect(ok, &QPushButton::clicked, this, &tdOrganizer::btSaveExitClick);
  connect(cancel, &QPushButton::clicked, this, &tdOrganizer::reject);
  connect(help, &QPushButton::clicked, this, [this] {
    if (panel_.Help) panel_.Help("The_organizer");
  });

  auto* grid = new QGridLayout(this);
  grid->addWidget(view_, 0, 0, 2, 1);
  grid->addWidget(tunerGroup_, 0, 1);
  grid->addWidget(presets, 1, 1);
  grid->addWidget(buttons, 2, 0, 1, 2);
  grid->setColumnStretch(0, 1);
  grid->setSizeConstraint(QLayout::SetFixedSize);

  BuildMenus();
  ConnectTuner();
  SetOrganizerBand(bFM);
  ShowStep();
  BuildTree();
  connect(view_, &QTreeWidget::currentItemChanged, this, &tdOrganizer::OrganizerSelectionChanged);
  connect(view_, &QTreeWidget::itemChanged, this,
          [this](QTreeWidgetItem* item, int) { RadioTreeEdited(item); });
  const auto folderImage = [this](QTreeWidgetItem* item, bool open) {
    const OrganizerNode* node = RadioTreeWidget::NodeOf(item);
    if (node && !node->IsStation()) item->setIcon(0, FolderIcon(open));
  };
  connect(view_, &QTreeWidget::itemExpanded, this,
          [folderImage](QTreeWidgetItem* item) { folderImage(item, true); });
  connect(view_, &QTreeWidget::itemCollapsed, this,
          [folderImage](QTreeWidgetItem* item) { folderImage(item, false); });
  view_->OnDrop = [this](QTreeWidgetItem* target) { RadioTreeDragDrop(target); };
  view_->setCurrentItem(view_->topLevelItem(0));
  OrganizerSelectionChanged();
  if (RowsNotShown() > 0) Warn(RowsNotShownMessage(RowsNotShown()));
}

tdOrganizer::~tdOrganizer() = default;

// Items for the whole tree are made before the tree is shown, so ten thousand stations cost
// one insertion into the view.
void tdOrganizer::BuildTree() {
  const QSignalBlocker block(view_);
  auto* root = new QTreeWidgetItem;
  root->setText(0, QString::fromStdString(tree_.Root().Name));
  root->setIcon(0, FolderIcon(false));
  RadioTreeWidget::SetNode(root, &tree_.Root());
  root->setFlags(root->flags() & ~(Qt::ItemIsEditable | Qt::ItemIsDragEnabled));
  std::vector<std::pair<QTreeWidgetItem*, OrganizerNode*>> pending{{root, &tree_.Root()}};
  while (!pending.empty()) {
    auto [item, node] = pending.back();
    pending.pop_back();
    for (auto& child : node->Children) {
      QTreeWidgetItem* childItem = AddItem(item, child.get());
      if (!child->Children.empty()) pending.emplace_back(childItem, child.get());
    }
  }
  view_->addTopLevelItem(root);
  root->setExpanded(true);
}

QTreeWidgetItem* tdOrganizer::AddItem(QTreeWidgetItem* parent, OrganizerNode* node) {
  auto* item = new QTreeWidgetItem(parent);
  item->setText(0, QString::fromStdString(node->Name));
  item->setIcon(0, node->IsStation() ? station_ : FolderIcon(false));
  item->setFlags(item->flags() | Qt::ItemIsEditable);
  RadioTreeWidget::SetNode(item, node);
  return item;
}

QTreeWidgetItem* tdOrganizer::ItemOf(const OrganizerNode* node) const {
  for (QTreeWidgetItemIterator it(view_); *it; ++it) {
    if (RadioTreeWidget::NodeOf(*it) == node) return *it;
  }
  return nullptr;
}

void tdOrganizer::BuildPresets(QWidget* group) {
  group->setObjectName("Presets");
  auto* grid = new QGridLayout(group);
  grid->setSpacing(1);
  for (int n = 1; n <= PresetsBank::kPresetCount; ++n) {
    auto* b = new PresetDropButton(group, n);
    const QString number = QString::fromStdString(FormatPresetNumber(n));
    b->setObjectName("btRadio" + number);
    b->setText(number);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setIconSize(QSize(16, 8));
    b->setContextMenuPolicy(Qt::CustomContextMenu);
    b->Accepts = [this](const QMimeData* data) {
      return view_->IsOwnDrag(data) && btRadioDragOver();
    };
    b->OnDrop = [this, n] { btRadioDragDrop(n); };
    connect(b, &QToolButton::clicked, this, [this] { view_->setFocus(); });
    connect(b, &QWidget::customContextMenuRequested, this, [this, b, n](const QPoint& at) {
      BtMenuPopup(n);
      btMenu_->popup(b->mapToGlobal(at));
    });
    buttons_[static_cast<size_t>(n - 1)] = b;
    grid->addWidget(b, (n - 1) / 10, (n - 1) % 10);
    ShowPreset(n);
  }
}

void tdOrganizer::BuildMenus() {
  orgMenu_ = new QMenu(this);
  orgMenu_->setObjectName("OrgMenu");
  iRename_ = orgMenu_->addAction("Rename", this, &tdOrganizer::iRenameClick);
  iDelete_ = orgMenu_->addAction("Delete", this, &tdOrganizer::iDeleteClick);
  QMenu* add = orgMenu_->addMenu("Add");
  iAdd_ = add->menuAction();
  add->addAction("Folder", this, &tdOrganizer::AddFolderClick);
  add->addAction("Station", this, &tdOrganizer::AddStationClick);
  view_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(view_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    if (!scanning_) orgMenu_->popup(view_->viewport()->mapToGlobal(at));
  });
  btMenu_ = new QMenu(this);
  btMenu_->setObjectName("BtMenu");
  iClear_ = btMenu_->addAction("Clear", this, &tdOrganizer::iClearClick);
  btMenu_->addAction("Clear all", this, &tdOrganizer::iClearAllClick);
}

// A preset button: its glyph by band and whether it is the panel's current preset, and its
// hint while assigned.
void tdOrganizer::ShowPreset(int n) {
  const tPreset& p = panel_.Bank.Preset(n);
  const int colour = !p.Assigned     ? panel_.ColorNone
                     : p.Band == bAM ? panel_.ColorAM
                                     : panel_.ColorFM;
  PresetDropButton* b = PresetButton(n);
  b->setIcon(PictureIcon(LampName("BT", colour, p.Assigned && n == panel_.CurrentPreset)));
  b->setToolTip(p.Assigned ? QString::fromStdString(p.Name + " - " +
                                                    FormatFrequencyKey(p.Frequency, panel_.Locale))
                           : QString());
}

OrganizerNode* tdOrganizer::SelectedNode() const {
  return RadioTreeWidget::NodeOf(view_->currentItem());
}

tStation* tdOrganizer::SelectedStation() const {
  OrganizerNode* node = SelectedNode();
  return node && node->IsStation() ? static_cast<tStation*>(node->Data.get()) : nullptr;
}

void tdOrganizer::Warn(std::string_view text) {
  panel_.Prompts.Message(std::string(text), Prompter::Icon::Warning, "Warning");
}

void tdOrganizer::OrganizerSelectionChanged() {
  OrganizerNode* node = SelectedNode();
  const bool onlyRoot = tree_.Root().Children.empty();
  const bool isRoot = node == &tree_.Root();
  const bool station = node && node->IsStation();
  iDelete_->setEnabled(!onlyRoot && node && !isRoot);
  iRename_->setEnabled(!onlyRoot && node && !isRoot);
  iAdd_->setEnabled(node && !station);
  tunerGroup_->setVisible(!onlyRoot && station);
  const bool editing = view_->Editing();
  if (station && !editing) {
    if (CardHas(band_)) panel_.Card.Unmute();
    const tStation* s = SelectedStation();
    OrganizerTune(s->Band, false, s->Frequency);
  } else if (!station && CardHas(band_)) {
    panel_.Card.Mute();
  }
}

void tdOrganizer::ExpandAll(QTreeWidgetItem* item) {
  item->setExpanded(true);
  for (int i = 0; i < item->childCount(); ++i) ExpandAll(item->child(i));
}

void tdOrganizer::AddFolderClick() {
  OrganizerNode* node = SelectedNode();
  if (scanning_ || !node || node->IsStation()) return;
  OrganizerNode* added = tree_.AddFolder(*node, "Folder Name");
  AddItem(view_->currentItem(), added);
  view_->expandItem(view_->currentItem());
  ExpandAll(view_->currentItem());
  OrganizerSelectionChanged();
}

void tdOrganizer::AddStationClick() {
  OrganizerNode* node = SelectedNode();
  if (scanning_ || !node || node->IsStation()) return;
  const double f = band_ == bAM ? kAMMin : panel_.JapaneseFM ? kJapaneseFMMin : kFMMin;
  OrganizerNode* added = tree_.AddStation(*node, "Station Name", f, band_);
  AddItem(view_->currentItem(), added);
  ExpandAll(view_->currentItem());
  OrganizerSelectionChanged();
}

void tdOrganizer::iDeleteClick() {
  OrganizerNode* node = SelectedNode();
  QTreeWidgetItem* item = view_->currentItem();
  if (scanning_ || !node || node == &tree_.Root()) return;
  QTreeWidgetItem* parentItem = item->parent();
  delete item;  // the view first: it must not show a node that is gone
  RemoveNode(tree_, *node);
  if (parentItem && parentItem->childCount() == 0) parentItem->setIcon(0, FolderIcon(false));
  OrganizerSelectionChanged();
}

void tdOrganizer::iRenameClick() {
  QTreeWidgetItem* item = view_->currentItem();
  if (scanning_ || !item) return;
  if (SelectedNode() == &tree_.Root()) {
    Warn(kRootNotRenamed);
    return;
  }
  view_->editItem(item);
}

void tdOrganizer::RadioTreeEdited(QTreeWidgetItem* item) {
  OrganizerNode* node = RadioTreeWidget::NodeOf(item);
  if (!node) return;
  const std::string label = item->text(0).toStdString();
  if (label == node->Name) return;
  const OrganizerNode* parent = RadioTreeWidget::NodeOf(item->parent());
  if (const auto refusal = RenameRefusal(parent, *node, node->Name, label)) {
    const QSignalBlocker block(view_);
    item->setText(0, QString::fromStdString(node->Name));
    Warn(*refusal);
    return;
  }
  node->Name = label;
}

void tdOrganizer::RadioTreeDragDrop(QTreeWidgetItem* target) {
  OrganizerNode* source = SelectedNode();
  OrganizerNode* destination = RadioTreeWidget::NodeOf(target);
  if (scanning_ || !source || !destination) return;
  if (const auto refusal = DropRefusal(tree_, *source, *destination)) {
    Warn(*refusal);
    return;
  }
  QTreeWidgetItem* item = view_->currentItem();
  QTreeWidgetItem* oldParent = item->parent();
  MoveNode(tree_, *source, *destination);
  {
    const QSignalBlocker block(view_);
    oldParent->removeChild(item);
    target->addChild(item);
  }
  if (oldParent->childCount() == 0) oldParent->setIcon(0, FolderIcon(false));
  ExpandAll(target);
  view_->setCurrentItem(item);
}

void tdOrganizer::reject() {
  stop_ = true;
  QDialog::reject();
}

bool tdOrganizer::Run(QWidget* parent, tOrganizerPanel panel) {
  tdOrganizer dialog(parent, std::move(panel));
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace ondivo
