#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/ClockSpinBox.h"
#include "controls/DialogButtons.h"
#include "schedule/ScriptLists.h"
#include "schedule/tdProgr.h"

namespace ondivo {

namespace {

QToolButton* SpeedButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon,
                         const QString& hint) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setIcon(parent->style()->standardIcon(icon));
  button->setToolTip(hint);
  button->setAutoRaise(true);
  return button;
}

QSpinBox* SpinBox(QSpinBox* box, const char* name, int min, int max) {
  box->setObjectName(name);
  box->setRange(min, max);
  box->setAlignment(Qt::AlignRight);
  return box;
}

QLabel* Buddy(const QString& text, QWidget* of) {
  auto* label = new QLabel(text, of->parentWidget());
  label->setBuddy(of);
  return label;
}

QWidget* Panel(QWidget* parent, const char* name) {
  auto* panel = new QWidget(parent);
  panel->setObjectName(name);
  return panel;
}

}  // namespace

void tdProgr::BuildWidgets() {
  auto* menuBar = new QMenuBar(this);
  QMenu* file = menuBar->addMenu("File");
  file->addAction("New", this, &tdProgr::btNewClick);
  file->addAction("Load", this, &tdProgr::btLoadClick);
  file->addAction("Save", this, &tdProgr::btSaveClick);
  file->addAction("Save as", this, &tdProgr::iSaveAsClick);

  btNew_ = SpeedButton(this, "btNew", QStyle::SP_FileIcon, "New");
  btLoad_ = SpeedButton(this, "btLoad", QStyle::SP_DialogOpenButton, "Load");
  btSave_ = SpeedButton(this, "btSave", QStyle::SP_DialogSaveButton, "Save");
  title_ = new QLineEdit(this);
  title_->setObjectName("Title");
  auto* top = new QHBoxLayout;
  top->addWidget(btNew_);
  top->addWidget(btLoad_);
  top->addWidget(btSave_);
  top->addSpacing(12);
  top->addWidget(Buddy("Title", title_));
  top->addWidget(title_, 1);

  auto* middle = new QHBoxLayout;
  middle->addWidget(BuildLists());
  middle->addWidget(BuildProperties(), 1);

  const tDialogButtons buttons = AddDialogButtons(*this, help_, "Scripting");
  ok_ = buttons.Ok;

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menuBar);
  layout->addLayout(top);
  layout->addLayout(middle, 1);
  layout->addWidget(buttons.Box);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  preview_ = new QTimer(this);
  preview_->setObjectName("Preview");
  preview_->setTimerType(Qt::PreciseTimer);
}

QWidget* tdProgr::BuildLists() {
  auto* lists = new QWidget(this);
  events_ = new tScriptList(tScriptDrag::Events, lists);
  events_->setObjectName("Actions");
  script_ = new tScriptList(tScriptDrag::Program, lists);
  script_->setObjectName("Script");
  script_->setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* add = new QAction("Add", script_);
  connect(add, &QAction::triggered, this, &tdProgr::RightClick);
  auto* remove = new QAction("Delete", script_);
  connect(remove, &QAction::triggered, this, &tdProgr::LeftClick);
  script_->addActions({add, remove});
  // Wide enough for the longest name (and the time) without a horizontal scroll bar; the
  // program keeps room for its vertical one.
  const QFontMetrics metrics = script_->fontMetrics();
  const int names = 16 + 6 + metrics.horizontalAdvance("Mute off") + 2 * script_->frameWidth();
  const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  events_->setFixedWidth(names + 12);
  script_->setFixedWidth(names + 7 + metrics.horizontalAdvance("00:00") + 12 + scrollBar);
  for (tScriptList* list : {events_, script_}) {
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  }
  events_->setMinimumHeight(7 * 20 + 6);
  script_->setMinimumHeight(12 * 20 + 6);

  right_ = new QToolButton(lists);
  right_->setObjectName("Right");
  right_->setText("Add");
  right_->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
  left_ = new QToolButton(lists);
  left_->setObjectName("Left");
  left_->setText("Delete");
  left_->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
  for (QToolButton* b : {right_, left_}) {
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setMinimumWidth(b->fontMetrics().horizontalAdvance("Delete__"));
  }
  auto* moves = new QVBoxLayout;
  moves->addStretch(1);
  moves->addWidget(right_);
  moves->addWidget(left_);
  moves->addStretch(1);

  auto* grid = new QGridLayout(lists);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(Buddy("Events", events_), 0, 0);
  grid->addWidget(Buddy("Program", script_), 0, 2);
  grid->addWidget(events_, 1, 0, Qt::AlignTop);
  grid->addLayout(moves, 1, 1);
  grid->addWidget(script_, 1, 2);
  // Tab follows the eye from the events over the buttons to the program.
  setTabOrder(events_, right_);
  setTabOrder(right_, left_);
  setTabOrder(left_, script_);
  return lists;
}

QGroupBox* tdProgr::BuildProperties() {
  auto* group = new QGroupBox("Property for this item", this);
  auto* kinds = new QStackedWidget(group);
  kinds->setObjectName("Kinds");
  // The panels sit at the top of the group, the common panel at its foot.
  kinds->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
  kinds->addWidget(new QWidget(kinds));  // Mute on, Mute off and Off have no properties
  gVolume_ = BuildVolumePanel();
  gFreq_ = BuildFreqPanel();
  gPreset_ = BuildPresetPanel();
  gBeep_ = BuildBeepPanel();
  for (QWidget* panel : {gVolume_, gFreq_, gPreset_, gBeep_}) {
    panel->setParent(kinds);
    kinds->addWidget(panel);
  }
  gCommon_ = BuildCommonPanel();
  gCommon_->setParent(group);
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(kinds);
  layout->addStretch(1);
  layout->addWidget(gCommon_);
  return group;
}

QWidget* tdProgr::BuildVolumePanel() {
  QWidget* panel = Panel(this, "gVolume");
  volume_ = new QSlider(Qt::Horizontal, panel);
  volume_->setObjectName("Volume");
  volume_->setRange(0, 20);
  volume_->setTickPosition(QSlider::TicksBelow);
  volume_->setTickInterval(5);
  perc_ = new QLabel(panel);
  perc_->setObjectName("Perc");
  perc_->setMinimumWidth(perc_->fontMetrics().horizontalAdvance("100%_"));
  perc_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto* row = new QHBoxLayout(panel);
  row->addWidget(Buddy("Volume", volume_));
  row->addWidget(volume_, 1);
  row->addWidget(perc_);
  return panel;
}

QWidget* tdProgr::BuildFreqPanel() {
  QWidget* panel = Panel(this, "gFreq");
  freq_ = new QDoubleSpinBox(panel);
  freq_->setObjectName("Freq");
  freq_->setDecimals(3);
  freq_->setButtonSymbols(QAbstractSpinBox::NoButtons);
  freq_->setAlignment(Qt::AlignRight);
  freq_->setMinimumWidth(freq_->fontMetrics().horizontalAdvance("0000.000__"));
  btFM_ = new QPushButton("fm", panel);
  btFM_->setObjectName("btFM");
  btAM_ = new QPushButton("am", panel);
  btAM_->setObjectName("btAM");
  for (QPushButton* b : {btFM_, btAM_}) {
    b->setCheckable(true);
    b->setAutoExclusive(true);
    b->setAutoDefault(false);
    b->setMaximumWidth(b->fontMetrics().horizontalAdvance("fm") + 24);
  }
  freqStereo_ = new QCheckBox("Stereo", panel);
  freqStereo_->setObjectName("FreqStereo");
  btPrFreq_ = new QPushButton("Test", panel);
  btPrFreq_->setObjectName("btPrFreq");
  btPrFreq_->setCheckable(true);
  btPrFreq_->setAutoDefault(false);
  tuned_ = new QLabel(panel);
  tuned_->setObjectName("Tuned");
  tuned_->hide();
  auto* grid = new QGridLayout(panel);
  grid->addWidget(Buddy("Freq", freq_), 0, 0);
  grid->addWidget(freq_, 0, 1);
  grid->addWidget(btFM_, 0, 2);
  grid->addWidget(btAM_, 0, 3);
  grid->addWidget(freqStereo_, 1, 1);
  grid->addWidget(btPrFreq_, 1, 2, 1, 2);
  grid->addWidget(tuned_, 2, 1, 1, 3);
  grid->setColumnStretch(4, 1);
  return panel;
}

QWidget* tdProgr::BuildPresetPanel() {
  QWidget* panel = Panel(this, "gPreset");
  presets_ = new QComboBox(panel);
  presets_->setObjectName("Presets");
  presets_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  presetStereo_ = new QCheckBox("Stereo", panel);
  presetStereo_->setObjectName("PresetStereo");
  auto* grid = new QGridLayout(panel);
  grid->addWidget(Buddy("Jump to", presets_), 0, 0);
  grid->addWidget(presets_, 0, 1);
  grid->addWidget(presetStereo_, 1, 1);
  grid->setColumnStretch(2, 1);
  return panel;
}

QWidget* tdProgr::BuildBeepPanel() {
  QWidget* panel = Panel(this, "gBeep");
  times_ = SpinBox(new QSpinBox(panel), "Times", 1, 50);
  bFreq_ = SpinBox(new QSpinBox(panel), "BFreq", 1, 20000);
  mSecs_ = SpinBox(new QSpinBox(panel), "MSecs", 1, 1000);
  btPrBeep_ = new QPushButton("Preview", panel);
  btPrBeep_->setObjectName("btPrBeep");
  btPrBeep_->setCheckable(true);
  btPrBeep_->setAutoDefault(false);
  auto* grid = new QGridLayout(panel);
  grid->addWidget(Buddy("Times", times_), 0, 0);
  grid->addWidget(times_, 0, 1);
  grid->addWidget(Buddy("Frequency", bFreq_), 1, 0);
  grid->addWidget(bFreq_, 1, 1);
  grid->addWidget(new QLabel("Hz", panel), 1, 2);
  grid->addWidget(Buddy("Duration", mSecs_), 2, 0);
  grid->addWidget(mSecs_, 2, 1);
  grid->addWidget(new QLabel("ms", panel), 2, 2);
  grid->addWidget(btPrBeep_, 0, 3);
  grid->setColumnStretch(4, 1);
  return panel;
}

QWidget* tdProgr::BuildCommonPanel() {
  QWidget* panel = Panel(this, "gCommon");
  timeHH_ = SpinBox(new ClockSpinBox(panel), "TimeHH", 0, 23);
  timeMM_ = SpinBox(new ClockSpinBox(panel), "TimeMM", 0, 59);
  for (QSpinBox* box : {timeHH_, timeMM_}) box->setWrapping(false);
  bTime_ = new QLabel(panel);
  bTime_->setObjectName("bTime");
  eTime_ = new QLabel(panel);
  eTime_->setObjectName("eTime");
  auto* save = new QPushButton("Save", panel);
  save->setObjectName("Save");
  save->setAutoDefault(false);
  connect(save, &QPushButton::clicked, this, &tdProgr::SaveClick);
  auto* reload = new QPushButton("Reload", panel);
  reload->setObjectName("Reload");
  reload->setAutoDefault(false);
  connect(reload, &QPushButton::clicked, this, &tdProgr::ShowAction);

  auto* time = new QHBoxLayout;
  time->addWidget(new QLabel("Event time", panel));
  time->addWidget(timeHH_);
  time->addWidget(Buddy("HH", timeHH_));
  time->addWidget(timeMM_);
  time->addWidget(Buddy("MM", timeMM_));
  time->addStretch(1);
  auto* range = new QHBoxLayout;
  range->addWidget(new QLabel("The range is from", panel));
  range->addWidget(bTime_);
  range->addWidget(new QLabel("to", panel));
  range->addWidget(eTime_);
  range->addStretch(1);
  auto* apply = new QHBoxLayout;
  apply->addStretch(1);
  apply->addWidget(save);
  apply->addWidget(reload);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(time);
  layout->addLayout(range);
  layout->addLayout(apply);
  return panel;
}

void tdProgr::ConnectWidgets() {
  connect(btNew_, &QToolButton::clicked, this, &tdProgr::btNewClick);
  connect(btLoad_, &QToolButton::clicked, this, &tdProgr::btLoadClick);
  connect(btSave_, &QToolButton::clicked, this, &tdProgr::btSaveClick);
  connect(right_, &QToolButton::clicked, this, &tdProgr::RightClick);
  connect(left_, &QToolButton::clicked, this, &tdProgr::LeftClick);
  connect(script_, &QListWidget::currentRowChanged, this, &tdProgr::ScriptClick);
  events_->SetDropHooks([this](const tScriptDrag& d) { return ActionsDragOver(d); },
                        [this](const tScriptDrag& d, int row) { ActionsDragDrop(d, row); });
  script_->SetDropHooks([this](const tScriptDrag& d) { return ProgDragOver(d); },
                        [this](const tScriptDrag& d, int row) { ProgDragDrop(d, row); });
  connect(volume_, &QSlider::valueChanged, this,
          [this](int v) { perc_->setText(QString::number(v * 5) + "%"); });
  connect(timeHH_, &QSpinBox::valueChanged, this, &tdProgr::TimeChange);
  connect(timeMM_, &QSpinBox::valueChanged, this, &tdProgr::TimeChange);
  connect(btFM_, &QPushButton::clicked, this, [this] { SetPanelBand(bFM, true); });
  connect(btAM_, &QPushButton::clicked, this, [this] { SetPanelBand(bAM, true); });
  connect(presets_, &QComboBox::activated, this, &tdProgr::PresetsClick);
  connect(btPrFreq_, &QPushButton::toggled, this, &tdProgr::btPrFreqClick);
  connect(btPrBeep_, &QPushButton::toggled, this, &tdProgr::btPrBeepClick);
  connect(preview_, &QTimer::timeout, this, &tdProgr::PreviewTick);
}

}  // namespace ondivo
