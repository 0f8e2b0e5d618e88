// The presets group: the ten buttons and their page, MEM and CLR, the button popup menu, both
// "Presets" submenus, storing, clearing, renaming and loading a presets file. The rules live in
// PresetsPanel; this file binds the widgets to it and redraws.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QToolButton>

#include "panel/ModalScope.h"
#include "panel/PanelPictures.h"
#include "panel/tdAskName.h"
#include "panel/tdMain.h"
#include "radio/RadioCard.h"
#include "stations/FrequencyText.h"

namespace ondivo {

void tdMain::ConnectPresets() {
  // MEM, CLR and the popup menu come in by the same door as the commands.
  const auto waitsForScan = [this](void (tdMain::*handler)()) {
    return
        [this, handler] { Enter(tDuringScan::Ignored, [this, handler] { (this->*handler)(); }); };
  };
  connect(btClr_, &QToolButton::clicked, this, waitsForScan(&tdMain::btClrClick));
  connect(btMem_, &QToolButton::clicked, this, [this] { Run(cmMemory); });
  btMenu_ = new QMenu(this);
  btMenu_->setObjectName("btMenu");
  popupMemory_ = btMenu_->addAction("Memory", this, waitsForScan(&tdMain::Popup_Memory));
  popupClear_ = btMenu_->addAction("Clear", this, waitsForScan(&tdMain::Popup_Clear));
  popupRename_ = btMenu_->addAction("Rename", this, waitsForScan(&tdMain::Popup_Rename));
  btMenu_->addSeparator();
  btMenu_->addAction("Clear all", this, [this] { Run(cmClearAll); });
  for (int i = 0; i < 10; ++i) {
    QToolButton* b = btRadio_[i];
    b->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(b, &QWidget::customContextMenuRequested, this, [this, b, i](const QPoint& at) {
      btMenuPopup(i + 1);
      btMenu_->popup(b->mapToGlobal(at));
    });
  }
}

void tdMain::AfterPresetChange(tBand bandBefore) {
  if (card_.Band() != bandBefore) SwitchBand(card_.Band());
  RefreshPanel();
}

std::optional<std::string> tdMain::AskName(int preset, tNaming naming) {
  const std::string offered = presets_->NameToOffer(preset, naming);
  ModalScope scope(*this);
  return services_.RunAskName ? services_.RunAskName(this, offered) : tdAskName::Run(this, offered);
}

void tdMain::btRadioClick(int button) {
  setFocus();  // focus leaves the button
  const int n = presets_->PresetOnButton(button);
  const tBand before = card_.Band();
  const tPresetPress done = presets_->Press(n);
  if (done == tPresetPress::Store) {
    StorePreset(n);
    return;
  }
  if (done == tPresetPress::Cleared) RebuildPresetMenus();
  AfterPresetChange(before);
}

void tdMain::btNextPrevTopClick() {
  if (presets_->PreviousPage()) ShowPresetPage();
}

void tdMain::btNextPrevBottomClick() {
  if (presets_->NextPage()) ShowPresetPage();
}

void tdMain::Stations_Memory() {
  if (!presets_->ToggleMemory()) return;
  RefreshLamps();
  UpdateActionStates();
}

void tdMain::btClrClick() {
  if (!presets_->ToggleClear()) return;
  RefreshLamps();
  UpdateActionStates();
}

void tdMain::Stations_Clear() {
  if (presets_->HasCurrent()) ClearPreset(state_.CurrentPreset);
}

void tdMain::Stations_ClearAll() {
  const tBand before = card_.Band();
  if (!presets_->ClearAll(prompts_)) return;
  RebuildPresetMenus();
  AfterPresetChange(before);
}

void tdMain::Stations_Rename() {
  if (presets_->HasCurrent()) RenamePreset(state_.CurrentPreset);
}

void tdMain::btMenuPopup(int button) {
  popupPreset_ = presets_->PresetOnButton(button);
  const tPresetPopup enabled = presets_->Popup(popupPreset_);
  popupMemory_->setEnabled(enabled.Memory);
  popupClear_->setEnabled(enabled.Clear);
  popupRename_->setEnabled(enabled.Rename);
}

void tdMain::Popup_Memory() {
  if (presets_->IsTunedStationStored()) return;
  StorePreset(popupPreset_);
}

void tdMain::Popup_Clear() {
  if (bank_.Preset(popupPreset_).Assigned) ClearPreset(popupPreset_);
}

void tdMain::Popup_Rename() {
  RenamePreset(popupPreset_);
}

void tdMain::FavMenu(int preset) {
  const tBand before = card_.Band();
  presets_->Recall(preset, true);
  AfterPresetChange(before);
}

void tdMain::StorePreset(int preset) {
  const std::optional<std::string> name = AskName(preset, tNaming::Store);
  if (name) {
    const tBand before = card_.Band();
    presets_->Store(preset, *name);
    RebuildPresetMenus();
    AfterPresetChange(before);
  } else {
    RefreshPanel();  // MEM shows its normal look again
  }
}

void tdMain::ClearPreset(int preset) {
  const tBand before = card_.Band();
  presets_->Clear(preset);
  RebuildPresetMenus();
  AfterPresetChange(before);
}

void tdMain::RenamePreset(int preset) {
  if (!bank_.Preset(preset).Assigned) return;
  const std::optional<std::string> name = AskName(preset, tNaming::Rename);
  if (!name || !presets_->Rename(preset, *name)) return;
  RebuildPresetMenus();
  RefreshPanel();
}

void tdMain::File_LoadPresets() {
  const tBand before = card_.Band();
  if (!presets_->LoadPresets(prompts_)) return;
  RebuildPresetMenus();
  AfterPresetChange(before);
}

void tdMain::RebuildPresetMenus() {
  for (QMenu* menu : {tmPresets_, msPresets_}) {
    for (QAction* a : menu->actions()) delete a;
    for (QActionGroup* g : menu->findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly)) {
      delete g;
    }
    // Radio-style entries, none checked while no preset is current.
    auto* group = new QActionGroup(menu);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    const QString prefix = menu == tmPresets_ ? "f" : "m";
    for (const tPresetMenuEntry& e : presets_->MenuEntries()) {
      QAction* a = menu->addAction(QString::fromStdString(e.Caption));
      a->setObjectName(prefix + QString::fromStdString(FormatPresetNumber(e.Number)));
      a->setData(e.Number);
      a->setCheckable(true);
      group->addAction(a);
      const int n = e.Number;
      connect(a, &QAction::triggered, this,
              [this, n] { Enter(tDuringScan::Ignored, [this, n] { FavMenu(n); }); });
    }
  }
  UpdatePresetActions();
}

void tdMain::UpdatePresetActions() {
  if (!presets_ || !msPresets_) return;
  const bool scanning = state_.Scanning;
  Action(cmClear)->setEnabled(presets_->HasCurrent() && !scanning);
  Action(cmRename)->setEnabled(presets_->HasCurrent() && !scanning);
  Action(cmMemory)->setEnabled(!presets_->IsTunedStationStored() && !scanning);
  if (popupMemory_) popupMemory_->setEnabled(!presets_->IsTunedStationStored());
  for (QMenu* menu : {tmPresets_, msPresets_}) {
    menu->setEnabled(!menu->actions().isEmpty());
    for (QAction* a : menu->actions()) {
      const int n = a->data().toInt();
      a->setChecked(n == state_.CurrentPreset);
      a->setEnabled(presets_->CanTune(bank_.Preset(n)));
    }
  }
}

void tdMain::ShowPresetPage() {
  for (int i = 0; i < 10; ++i) {
    const tPresetButtonLook look = presets_->Button(i + 1);
    QToolButton* b = btRadio_[i];
    b->setText(QString::fromStdString(look.Caption));
    b->setIcon(Lamp(QString::fromStdString(look.Glyph)));
    b->setToolTip(QString::fromStdString(look.Hint));
  }
  btPageUp_->setEnabled(state_.Page > 1);
  btPageDown_->setEnabled(state_.Page < PresetsPanel::kPageCount);
  presetsGroup_->setToolTip(QString::fromStdString(presets_->GroupHint()));
}

}  // namespace ondivo
