#include "schedule/tdProgr.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

#include "platform/AsciiText.h"
#include "radio/RadioCard.h"
#include "schedule/ScriptLists.h"
#include "schedule/ScriptRunner.h"
#include "schedule/TimeOfDaySource.h"
#include "stations/FrequencyText.h"
#include "stations/PresetsBank.h"

namespace ondivo {

namespace {

constexpr const char* kChangedQuestion = "Script is changed!\rAre you sure ?";

int FirstDefinedPreset(const PresetsBank& bank) {
  for (int n = 1; n <= PresetsBank::kPresetCount; ++n) {
    if (bank.Preset(n).Assigned) return n;
  }
  return 0;
}

ScriptEditing::tDefaults Defaults(const tScriptEditorContext& context) {
  return {context.Card.Band(), context.Card.Stereo(), FirstDefinedPreset(context.Bank)};
}

}  // namespace

tdProgr::tdProgr(QWidget* parent, const tScriptEditorContext& context, Prompter& prompts,
                 HelpHook help, BeepHook beep)
    : QDialog(parent),
      context_(context),
      prompts_(prompts),
      help_(std::move(help)),
      beep_(std::move(beep)),
      editing_(context.Scripts.Script(), Defaults(context)) {
  setObjectName("tdProgr");
  BuildWidgets();
  ConnectWidgets();

  const TRadioCard& card = context_.Card;
  saved_ = {card.Band(), card.Frequency(), card.Stereo()};
  SetPanelBand(card.Band(), true);

  fileName_ = context_.Scripts.FileName();
  lastFile_ = fileName_;
  askOnSave_ = !fileName_.empty();
  SetCaption();

  for (int n = 1; n <= PresetsBank::kPresetCount; ++n) {
    const tPreset& preset = context_.Bank.Preset(n);
    if (!preset.Assigned) continue;
    presets_->addItem(QString::fromStdString(FormatPresetNumber(n) + " - " + preset.Name), n);
  }
  presets_->setCurrentIndex(presets_->count() > 0 ? 0 : -1);

  FillEvents();
  title_->setText(QString::fromStdString(context_.Scripts.Script().Title()));
  RefreshProgram(editing_.Program().Empty() ? std::nullopt : std::optional<size_t>(0));
}

tdProgr::~tdProgr() = default;

bool tdProgr::Run(QWidget* parent, const tScriptEditorContext& context, Prompter& prompts,
                  HelpHook help) {
  tdProgr dialog(parent, context, prompts, std::move(help));
  return dialog.exec() == QDialog::Accepted;
}

int tdProgr::Selected() const {
  return script_->currentRow();
}

void tdProgr::FillEvents() {
  if (presets_->count() > 0) events_->AddRow(akPreset);
  for (const tActionKind kind : {akMuteOn, akMuteOff, akBeep, akVolume, akJumpTo, akOff}) {
    events_->AddRow(kind);
  }
}

void tdProgr::RefreshProgram(std::optional<size_t> select) {
  {
    const QSignalBlocker blocker(script_);
    script_->clear();
    for (const auto& action : editing_.Program()) {
      script_->AddRow(action->Kind,
                      QString::fromStdString(MinuteText(action->Hour() * 60 + action->Minute())));
    }
  }
  Enable();
  const int row = select ? static_cast<int>(*select) : -1;
  {
    const QSignalBlocker blocker(script_);
    script_->setCurrentRow(row);
  }
  ScriptClick(row);
}

void tdProgr::Enable() {
  const bool any = !editing_.Program().Empty();
  gCommon_->setEnabled(any);
  gCommon_->setVisible(any);
  for (QWidget* w : std::initializer_list<QWidget*>{btNew_, btSave_, left_, ok_}) {
    w->setEnabled(any);
  }
}

void tdProgr::SetCaption() {
  setWindowTitle(fileName_.empty() ? QStringLiteral("Programming -")
                                   : "Script - (" + QString::fromStdString(fileName_) + ")");
}

void tdProgr::Refuse() {
  if (beep_) {
    beep_();
  } else {
    QApplication::beep();
  }
}

tActionKind tdProgr::SelectedEvent() {
  if (events_->currentRow() < 0) events_->setCurrentRow(0);
  return static_cast<tActionKind>(
      events_->currentItem()->data(tScriptRowDelegate::KindRole).toInt());
}

void tdProgr::RightClick() {
  if (editing_.Full()) {
    Refuse();
    return;
  }
  const tTimeOfDay now = context_.Time.Now();
  const auto added = editing_.Add(SelectedEvent(), TimeOfDay(now.Hour, now.Minute, now.Second));
  if (!added) {
    Refuse();
    return;
  }
  RefreshProgram(added);
  if (editing_.Program().Count() == 1) timeHH_->setFocus();
}

void tdProgr::LeftClick() {
  const int row = Selected();
  if (row < 0) return;
  RefreshProgram(editing_.Delete(static_cast<size_t>(row)));
}

bool tdProgr::ProgDragOver(const tScriptDrag& drag) const {
  if (drag.From == tScriptDrag::Program) return editing_.Program().Count() > 1;
  return static_cast<tActionKind>(drag.Value) != akPreset || presets_->count() > 0;
}

void tdProgr::ProgDragDrop(const tScriptDrag& drag, int row) {
  const size_t count = editing_.Program().Count();
  std::optional<size_t> changed;
  if (drag.From == tScriptDrag::Events) {
    const auto kind = static_cast<tActionKind>(drag.Value);
    if (row < 0) {
      const int events = events_->count();
      for (int i = 0; i < events; ++i) {
        if (events_->item(i)->data(tScriptRowDelegate::KindRole).toInt() == drag.Value) {
          events_->setCurrentRow(i);
        }
      }
      RightClick();
      return;
    }
    changed = editing_.InsertBefore(static_cast<size_t>(row), kind);
  } else if (drag.Value >= 0) {
    changed = editing_.Move(static_cast<size_t>(drag.Value), row < 0 ? count : size_t(row));
  }
  if (!changed) {
    Refuse();
    return;
  }
  RefreshProgram(changed);
}

bool tdProgr::ActionsDragOver(const tScriptDrag& drag) const {
  return drag.From == tScriptDrag::Program && !editing_.Program().Empty();
}

void tdProgr::ActionsDragDrop(const tScriptDrag& drag, int) {
  if (drag.Value < 0 || size_t(drag.Value) >= editing_.Program().Count()) return;
  script_->setCurrentRow(drag.Value);
  LeftClick();
}

void tdProgr::RestoreStation() {
  TRadioCard& card = context_.Card;
  card.Tune(saved_.Stereo, saved_.Band, saved_.Frequency);
  if (context_.Muted) {
    card.Mute();
  } else {
    card.Unmute();
  }
}

void tdProgr::btOkClick() {
  tScript& current = context_.Scripts.Script();
  tScript edited = editing_.Program().Copy();
  current.Clear();
  current.SetTitle(std::string(TrimText(title_->text().toStdString())));
  current.MoveFrom(edited);
  StopPreview();
  RestoreStation();
}

void tdProgr::done(int result) {
  if (result == QDialog::Accepted) btOkClick();
  if (editing_.DiffersFrom(context_.Scripts.Script(), title_->text().toStdString()) &&
      !prompts_.Ask(kChangedQuestion, "Exit without save", Prompter::Icon::Error)) {
    return;
  }
  StopPreview();
  RestoreStation();
  context_.Scripts.SetFileName(fileName_);
  QDialog::done(result);
}

}  // namespace ondivo
