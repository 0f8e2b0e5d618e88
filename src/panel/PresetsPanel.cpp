#include "panel/PresetsPanel.h"

#include "panel/Prompter.h"
#include "platform/AsciiText.h"
#include "platform/TextConvert.h"
#include "radio/RadioCard.h"
#include "radio/RdsLabel.h"
#include "stations/FrequencyText.h"
#include "stations/PresetsBank.h"
#include "stations/PresetsFile.h"

namespace ondivo {

namespace {

std::string CleanName(std::string_view name) {
  return std::string(TrimText(Utf8PadOrCut(TrimText(name), PresetsBank::kMaxNameLength)));
}

}  // namespace

int PresetsPanel::PresetOnButton(int button) const {
  return button + kButtonsPerPage * (model_.State().Page - 1);
}

bool PresetsPanel::IsTunedStationStored() const {
  return StoredElsewhere(0);
}

bool PresetsPanel::HoldsTunedStation(const tPreset& preset) const {
  const TRadioCard& card = model_.Card();
  return preset.Assigned && preset.Band == card.Band() && preset.Frequency == card.Frequency();
}

bool PresetsPanel::StoredElsewhere(int n) const {
  for (int i = 1; i <= PresetsBank::kPresetCount; ++i) {
    if (i != n && HoldsTunedStation(model_.Bank().Preset(i))) return true;
  }
  return false;
}

tPresetPress PresetsPanel::Press(int n) {
  tPanelState& s = model_.State();
  if (!PresetsBank::IsPresetNumber(n)) return tPresetPress::Nothing;
  if (s.ClearArmed) {
    Clear(n);
    s.ClearArmed = false;
    return tPresetPress::Cleared;
  }
  if (s.MemoryArmed) {
    s.MemoryArmed = false;
    // Tuned onto another preset's station after MEM was armed: storing would keep it twice.
    if (StoredElsewhere(n)) return tPresetPress::Nothing;
    return tPresetPress::Store;
  }
  if (!model_.Bank().Preset(n).Assigned) return tPresetPress::Nothing;
  return Recall(n, true) ? tPresetPress::Recalled : tPresetPress::Nothing;
}

bool PresetsPanel::ToggleMemory() {
  tPanelState& s = model_.State();
  if (s.ClearArmed || IsTunedStationStored()) return false;
  s.MemoryArmed = !s.MemoryArmed;
  return true;
}

bool PresetsPanel::ToggleClear() {
  tPanelState& s = model_.State();
  if (s.MemoryArmed) return false;
  s.ClearArmed = !s.ClearArmed;
  return true;
}

std::string PresetsPanel::NameToOffer(int n, tNaming naming) const {
  if (!PresetsBank::IsPresetNumber(n)) return "";
  const tPreset& preset = model_.Bank().Preset(n);
  // Another station's name would rename a preset after whatever plays now.
  const bool tuned = naming == tNaming::Store || HoldsTunedStation(preset);
  return tuned ? PresetNameToOffer(preset.Name, model_.Card().Rds()) : preset.Name;
}

void PresetsPanel::Store(int n, std::string_view name) {
  if (!PresetsBank::IsPresetNumber(n)) return;
  const TRadioCard& card = model_.Card();
  model_.Bank().Store(n, CleanName(name), card.Frequency(), card.Band());
  Recall(n, true);
}

void PresetsPanel::Clear(int n) {
  if (!PresetsBank::IsPresetNumber(n)) return;
  model_.Bank().Clear(n);
  if (model_.State().CurrentPreset == n) LetGoOfCurrent();
}

bool PresetsPanel::ClearAll(Prompter& prompts) {
  if (!prompts.Ask("Are you sure ?", "Clear all favorites")) return false;
  model_.Bank().ClearAll();
  LetGoOfCurrent();
  return true;
}

void PresetsPanel::LetGoOfCurrent() {
  model_.State().CurrentPreset = 0;
  model_.TuneTo(model_.Card().Band(), false, 0);
  model_.State().CurrentPreset = 0;  // the re-tune finds no preset: none holds this station
}

bool PresetsPanel::Rename(int n, std::string_view name) {
  if (!model_.Bank().Preset(n).Assigned) return false;
  return model_.Bank().Rename(n, CleanName(name));
}

bool PresetsPanel::Recall(int n, bool tune) {
  return model_.RecallPreset(n, tune);
}

bool PresetsPanel::PreviousPage() {
  tPanelState& s = model_.State();
  if (s.Page <= 1) return false;
  --s.Page;
  return true;
}

bool PresetsPanel::NextPage() {
  tPanelState& s = model_.State();
  if (s.Page >= kPageCount) return false;
  ++s.Page;
  return true;
}

bool PresetsPanel::LoadPresets(Prompter& prompts) {
  if (model_.Bank().AssignedCount() > 0 && !prompts.Ask(kLoadQuestion, "Warning")) return false;
  const auto path = prompts.OpenFile("Load presets",
                                     {{"Ondivo presets (*.ovp)", "*.ovp"},
                                      {"Plain text (*.txt)", "*.txt"},
                                      {"All files (*.*)", "*.*"}},
                                     "ovp");
  if (!path) return false;
  PresetsBank loaded;
  const tFileRead result = LoadPresetsFile(*path, model_.Locale(), loaded);
  if (result != kPresetsLoaded) {
    prompts.Message(std::string(PresetsFileReadMessage(result)), Prompter::Icon::Error, "Warning");
    return false;
  }
  model_.State().CurrentPreset = 0;
  model_.Bank() = loaded;
  fileName_ = *path;
  TRadioCard& card = model_.Card();
  if (card.GetDevCap(card.Model()).HasFM) {
    model_.TuneTo(bFM, false, kFMMin);
  } else {
    model_.TuneTo(bAM, false, kAMMin);
  }
  // The new set may hold the station just tuned; it is still not selected.
  model_.State().CurrentPreset = 0;
  if (!model_.State().Muted) card.Unmute();
  return true;
}

std::string PresetsPanel::GroupHint() const {
  return fileName_.empty() ? "Internal" : "Presets loaded from " + fileName_;
}

tPresetButtonLook PresetsPanel::Button(int button) const {
  const int n = PresetOnButton(button);
  const tPreset& p = model_.Bank().Preset(n);
  const tConfiguration& c = model_.Settings();
  const int colour = !p.Assigned     ? c.ColorFavNotAssButton
                     : p.Band == bAM ? c.ColorFavAssButtonAM
                                     : c.ColorFavAssButtonFM;
  tPresetButtonLook look;
  look.Caption = FormatPresetNumber(n);
  look.Glyph = "BT" + std::to_string(colour) + (n == model_.State().CurrentPreset ? "ON" : "OFF");
  if (p.Assigned) look.Hint = FormatStationLabel(p.Band, p.Frequency, p.Name, model_.Locale());
  return look;
}

bool PresetsPanel::CanTune(const tPreset& p) const {
  return CanReceivePreset(model_.Card(), p);
}

bool CanReceivePreset(const TRadioCard& card, const tPreset& p) {
  const tDevCap cap = card.GetDevCap(card.Model());
  if (p.Band == bAM) return cap.HasAM;
  return cap.HasFM && WithinLimits(p.Frequency, card.FMMin(), card.FMMax());
}

std::vector<tPresetMenuEntry> PresetsPanel::MenuEntries() const {
  std::vector<tPresetMenuEntry> entries;
  for (int n = 1; n <= PresetsBank::kPresetCount; ++n) {
    const tPreset& p = model_.Bank().Preset(n);
    if (!p.Assigned) continue;
    entries.push_back({n, p.Name, n == model_.State().CurrentPreset, CanTune(p)});
  }
  return entries;
}

tPresetPopup PresetsPanel::Popup(int n) const {
  const bool assigned = model_.Bank().Preset(n).Assigned;
  return {!IsTunedStationStored(), assigned, assigned};
}

}  // namespace ondivo
