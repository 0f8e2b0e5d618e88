#include "stations/tdEditFavorites.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "panel/PanelReadout.h"
#include "panel/Prompter.h"
#include "radio/RadioCard.h"
#include "stations/FrequencyText.h"
#include "stations/StationTuning.h"
#include "stations/TunerSection.h"

namespace ondivo {

namespace {

// Row n: number | frequency and band | name, the current preset marked red.
class PresetRowDelegate final : public QStyledItemDelegate {
 public:
  PresetRowDelegate(const PresetsEditor& editor, LocaleFormat locale, QObject* parent)
      : QStyledItemDelegate(parent), editor_(editor), locale_(locale) {}

  void paint(QPainter* p, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const int n = index.row() + 1;
    const QRect r = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& pal = option.palette;
    p->save();
    p->fillRect(r, selected ? pal.highlight() : pal.base());
    p->setPen(selected ? pal.highlightedText().color() : pal.text().color());
    // Columns are laid out for a list 400 units wide.
    const auto x = [&r](int units) { return r.left() + units * r.width() / 400; };
    const auto column = [&](int from, int to) {
      return QRect(x(from), r.top(), x(to) - x(from), r.height());
    };
    const int align = Qt::AlignVCenter | Qt::AlignLeft;
    p->drawText(column(16, 44), align, QString::fromStdString(FormatPresetNumber(n)));
    const tPreset& e = editor_.Entry(n);
    if (e.Assigned) {
      p->drawText(column(52, 122), align,
                  QString::fromStdString(FormatFrequencyKey(e.Frequency, locale_)));
      p->drawText(column(126, 150), align, e.Band == bAM ? "AM" : "FM");
      p->drawText(column(162, 400), align, QString::fromStdString(e.Name));
    }
    if (n == editor_.Current()) {
      const int side = std::max(4, r.height() / 3);
      p->fillRect(QRect(r.left() + 3, r.center().y() - side / 2, side, side), QColor(220, 0, 0));
    }
    p->setPen(pal.mid().color());
    p->drawLine(x(46), r.top(), x(46), r.bottom());
    p->drawLine(x(156), r.top(), x(156), r.bottom());
    if (n > 1) {
      p->setPen(QPen(pal.mid().color(), 0, Qt::DotLine));
      p->drawLine(r.topLeft(), r.topRight());
    }
    p->restore();
  }

 private:
  const PresetsEditor& editor_;
  LocaleFormat locale_;
};

QPushButton* Push(QWidget* parent, const char* name, const QString& text) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

tdEditFavorites::tdEditFavorites(QWidget* parent, const PresetsBank& bank, int currentPreset,
                                 std::string fileName, TRadioCard& card, double step,
                                 Prompter& prompts, LocaleFormat locale, HelpHook help)
    : QDialog(parent),
      editor_(bank, currentPreset, std::move(fileName), locale),
      card_(card),
      prompts_(prompts),
      locale_(locale),
      help_(std::move(help)),
      step_(step),
      cardBand_(card.Band()),
      cardFrequency_(card.Frequency()),
      cardStereo_(card.Stereo()) {
  setObjectName("tdEditFavorites");
  auto* layout = new QGridLayout(this);
  BuildMenu();

  list_ = new QListWidget(this);
  list_->setObjectName("Presets");
  list_->setItemDelegate(new PresetRowDelegate(editor_, locale_, list_));
  list_->setUniformItemSizes(true);
  const int rowHeight = fontMetrics().height() + 4;
  for (int n = 1; n <= PresetsBank::kPresetCount; ++n) {
    auto* item = new QListWidgetItem(list_);
    item->setSizeHint(QSize(0, rowHeight));
  }
  // The name column takes about 60 % of the list: room for some 24 characters.
  list_->setMinimumWidth(fontMetrics().horizontalAdvance(QString(24, QChar('n'))) * 400 / 238);
  list_->setFixedHeight(rowHeight * 15 + 2 * list_->frameWidth());
  layout->addWidget(list_, 0, 0, 3, 1);

  auto* nameBox = new QGroupBox("Name", this);
  auto* nameRow = new QVBoxLayout(nameBox);
  name_ = new QLineEdit(nameBox);
  name_->setObjectName("StationName");
  name_->setMaxLength(static_cast<int>(PresetsBank::kMaxNameLength));
  name_->setPlaceholderText("Enter the station name");
  name_->setToolTip("Enter the station name");
  nameRow->addWidget(name_);
  layout->addWidget(nameBox, 0, 1);

  auto* tunerBox = new QGroupBox("Tuner", this);
  auto* tunerColumn = new QVBoxLayout(tunerBox);
  tuner_ = new TunerSection(tunerBox, {}, locale_);
  tunerColumn->addWidget(tuner_);
  errMsg_ = new QLabel("Duplicated frequency", tunerBox);
  errMsg_->setObjectName("ErrMsg");
  QPalette red = errMsg_->palette();
  red.setColor(QPalette::WindowText, QColor(220, 0, 0));
  errMsg_->setPalette(red);
  QFont bold = errMsg_->font();
  bold.setBold(true);
  errMsg_->setFont(bold);
  // Its line stays reserved: the dialog does not grow when a duplicate shows.
  QSizePolicy keep = errMsg_->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  errMsg_->setSizePolicy(keep);
  tunerColumn->addWidget(errMsg_);
  layout->addWidget(tunerBox, 1, 1);

  auto* controls = new QGroupBox("Controls", this);
  BuildControls(controls);
  layout->addWidget(controls, 2, 1);

  auto* bottom = new QHBoxLayout;
  stored_ = new QLabel(this);
  stored_->setObjectName("StoredEntries");
  bottom->addWidget(stored_);
  bottom->addStretch(1);
  auto* buttons = new QDialogButtonBox(this);
  ok_ = Push(this, "btOk", "Ok");
  ok_->setDefault(true);
  QPushButton* cancel = Push(this, "btCancel", "Cancel");
  QPushButton* helpButton = Push(this, "btHelp", "Help");
  buttons->addButton(ok_, QDialogButtonBox::AcceptRole);
  buttons->addButton(cancel, QDialogButtonBox::RejectRole);
  buttons->addButton(helpButton, QDialogButtonBox::HelpRole);
  bottom->addWidget(buttons);
  layout->addLayout(bottom, 3, 0, 1, 2);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(helpButton, &QPushButton::clicked, this, [this] {
    if (help_) help_("Edit_presets");
  });

  preview_ = new QTimer(this);
  preview_->setObjectName("Preview");
  preview_->setSingleShot(true);
  preview_->setInterval(kPreviewMs);
  connect(preview_, &QTimer::timeout, this, &tdEditFavorites::PreviewTimer);

  connect(list_, &QListWidget::currentRowChanged, this, &tdEditFavorites::PresetsClick);
  connect(name_, &QLineEdit::textChanged, this, &tdEditFavorites::StationNameChange);
  connect(tuner_, &TunerSection::FrequencyMoved, this,
          [this](int kHz, bool) { SetEntryFrequency(tuner_->Band(), kHz * 0.001); });
  connect(tuner_, &TunerSection::BandClicked, this,
          [this](tBand band) { SetEntryFrequency(band, -1); });
  const auto fineTune = [this](bool up) {
    SetEntryFrequency(tuner_->Band(),
                      FineTuneTarget(tuner_->Band(), tuner_->Slider()->value(), step_, up));
  };
  connect(tuner_, &TunerSection::TunePrevClicked, this, [fineTune] { fineTune(false); });
  connect(tuner_, &TunerSection::TuneNextClicked, this, [fineTune] { fineTune(true); });
  connect(tuner_, &TunerSection::StepUpClicked, this, [this] { StepBy(1); });
  connect(tuner_, &TunerSection::StepDownClicked, this, [this] { StepBy(-1); });
  connect(tuner_, &TunerSection::StepSliderMoved, this, [this](int value) {
    step_ = value * card_.GetDevCap(card_.Model()).FMStep;
    ShowStep();
  });

  setWindowTitle(QString::fromStdString(editor_.Caption()));
  ShowStep();
  SelectRow(1);
}

tdEditFavorites::~tdEditFavorites() = default;

void tdEditFavorites::BuildMenu() {
  auto* bar = new QMenuBar(this);
  QMenu* file = bar->addMenu("File");
  file->addAction("New", this, [this] {
    Ask("Do you wish clear all presets?", [this] { editor_.ClearAll(); });
  });
  file->addAction("Load", this, &tdEditFavorites::btLoadClick);
  menuSave_ = file->addAction("Save", this, &tdEditFavorites::btSaveClick);
  file->addAction("Save as", this, &tdEditFavorites::iSaveAsClick);
  static_cast<QGridLayout*>(layout())->setMenuBar(bar);
}

void tdEditFavorites::BuildControls(QWidget* group) {
  auto* grid = new QGridLayout(group);
  undo_ = Push(group, "btUndo", "Undo");
  insert_ = Push(group, "btInsert", "Insert");
  delete_ = Push(group, "btDelete", "Delete");
  listen_ = Push(group, "btListen", "Listen");
  listen_->setCheckable(true);
  moveUp_ = new QToolButton(group);
  moveUp_->setObjectName("btMoveUp");
  moveUp_->setArrowType(Qt::UpArrow);
  moveUp_->setToolTip("Move up");
  moveDown_ = new QToolButton(group);
  moveDown_->setObjectName("btMoveDown");
  moveDown_->setArrowType(Qt::DownArrow);
  moveDown_->setToolTip("Move down");
  clear_ = Push(group, "btClear", "Clear");
  clearAll_ = Push(group, "btNew", "Clear all");
  open_ = Push(group, "btLoad", "Open");
  save_ = Push(group, "btSave", "Save");
  reload_ = Push(group, "btReload", "Reload");
  grid->addWidget(undo_, 0, 0);
  grid->addWidget(insert_, 0, 1);
  grid->addWidget(delete_, 0, 2);
  grid->addWidget(listen_, 0, 3);
  auto* moves = new QHBoxLayout;
  moves->addWidget(moveUp_);
  moves->addWidget(moveDown_);
  grid->addLayout(moves, 0, 4);
  grid->addWidget(clear_, 1, 0);
  grid->addWidget(clearAll_, 1, 1);
  grid->addWidget(open_, 1, 2);
  grid->addWidget(save_, 1, 3);
  grid->addWidget(reload_, 1, 4);

  const auto act = [this](QAbstractButton* b, void (PresetsEditor::*op)()) {
    connect(b, &QAbstractButton::clicked, this, [this, op] {
      (editor_.*op)();
      Refresh();
    });
  };
  act(undo_, &PresetsEditor::Undo);
  act(insert_, &PresetsEditor::Insert);
  act(delete_, &PresetsEditor::Delete);
  act(moveUp_, &PresetsEditor::MoveUp);
  act(moveDown_, &PresetsEditor::MoveDown);
  act(clear_, &PresetsEditor::Clear);
  connect(clearAll_, &QPushButton::clicked, this,
          [this] { Ask("Do you wish clear all presets?", [this] { editor_.ClearAll(); }); });
  connect(reload_, &QPushButton::clicked, this,
          [this] { Ask("Do you wish restore previous presets?", [this] { editor_.Reload(); }); });
  connect(listen_, &QPushButton::toggled, this, &tdEditFavorites::btListenClick);
  connect(open_, &QPushButton::clicked, this, &tdEditFavorites::btLoadClick);
  connect(save_, &QPushButton::clicked, this, &tdEditFavorites::btSaveClick);
}

void tdEditFavorites::Ask(const std::string& question, const std::function<void()>& then) {
  if (!prompts_.Ask(question, "Warning!")) return;
  then();
  Refresh();
}

// The list, the selection and the entry shown follow the editor after an operation.
void tdEditFavorites::Refresh() {
  SelectRow(editor_.Selected());
}

void tdEditFavorites::SelectRow(int n) {
  {
    const QSignalBlocker block(list_);
    list_->setCurrentRow(n - 1);
  }
  PresetsClick(n - 1);
}

void tdEditFavorites::PresetsClick(int row) {
  StopListening();
  editor_.Select(row + 1);
  ShowEntry();
}

void tdEditFavorites::ShowEntry() {
  const tPreset& e = editor_.Entry(editor_.Selected());
  {
    // Set only when it differs, so typing keeps its cursor.
    const QString name = QString::fromStdString(e.Name);
    const QSignalBlocker block(name_);
    if (name_->text() != name) name_->setText(name);
  }
  if (e.Assigned) {
    SetEntryFrequency(e.Band, e.Frequency);
  } else {
    SetEntryFrequency(bFM, -1);
  }
}

void tdEditFavorites::StationNameChange(const QString& text) {
  editor_.SetName(text.toStdString());
  ShowEntry();
}

void tdEditFavorites::SetEntryFrequency(tBand band, double mhz) {
  const tBandScale scale = DialogBandScale(band);
  const double f = SnapToDialogBand(band, mhz > 0 ? mhz : scale.Low,
                                    card_.GetDevCap(card_.Model()).FMStep, card_.FMMax());
  editor_.SetFrequency(band, f, mhz > 0);
  if (band != tuner_->Band()) tuner_->SetBand(band);
  const tDevCap cap = card_.GetDevCap(card_.Model());
  const bool hasBand = band == bAM ? cap.HasAM : cap.HasFM;
  const bool inside =
      band == bAM ? WithinLimits(f, kAMMin, kAMMax) : WithinLimits(f, card_.FMMin(), card_.FMMax());
  tuner_->ShowFrequency(f, !hasBand || !inside);
  list_->viewport()->update();
  UpdateEditButtons();
}

void tdEditFavorites::UpdateEditButtons() {
  const tPreset& e = editor_.Entry(editor_.Selected());
  const tDevCap cap = card_.GetDevCap(card_.Model());
  const tEditButtons b = editor_.Buttons(e.Band == bAM ? cap.HasAM : cap.HasFM);
  insert_->setEnabled(b.Insert);
  delete_->setEnabled(b.Delete);
  clear_->setEnabled(b.Clear);
  moveUp_->setEnabled(b.MoveUp);
  moveDown_->setEnabled(b.MoveDown);
  listen_->setEnabled(b.Listen || listening_);
  ok_->setEnabled(b.Ok);
  save_->setEnabled(b.Save);
  menuSave_->setEnabled(b.Save);
  errMsg_->setVisible(editor_.Duplicated());
  stored_->setText(QString("Stored entries: %1").arg(editor_.Count()));
}

void tdEditFavorites::ShowStep() {
  const tStepScale s = StepScale(step_, card_.GetDevCap(card_.Model()).FMStep);
  tuner_->ShowStep(s.Min, s.Max, s.Value, s.KHz);
}

void tdEditFavorites::StepBy(int units) {
  const double unit = card_.GetDevCap(card_.Model()).FMStep;
  const tStepScale s = StepScale(step_, unit);
  const int value = s.Value + units;
  if (value < s.Min || value > s.Max) return;
  step_ = value * unit;
  ShowStep();
}

tPresetsEdit tdEditFavorites::Result() const {
  return {editor_.Result(), editor_.Current(), editor_.FileName()};
}

void tdEditFavorites::reject() {
  if (editor_.LosesChanges() &&
      !prompts_.Ask("Presets are changed!\rAre you sure that you want\rexit without save?",
                    "Warning")) {
    return;
  }
  QDialog::reject();
}

void tdEditFavorites::done(int result) {
  StopListening();
  QDialog::done(result);
}

std::optional<tPresetsEdit> tdEditFavorites::Run(QWidget* parent, const PresetsBank& bank,
                                                 int currentPreset, std::string fileName,
                                                 TRadioCard& card, double step, Prompter& prompts,
                                                 LocaleFormat locale, HelpHook help) {
  tdEditFavorites dialog(parent, bank, currentPreset, std::move(fileName), card, step, prompts,
                         locale, std::move(help));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Result();
}

}  // namespace ondivo
