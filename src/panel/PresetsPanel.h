#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "panel/PanelModel.h"
#include "stations/PresetsBank.h"

namespace ondivo {

class Prompter;
struct tPreset;

// Whether the card can tune a preset: an AM preset needs the AM band, an FM preset the FM band
// and a frequency within the card's present FM limits. Menus, the alarm list and the alarm's
// start-up arming share it.
bool CanReceivePreset(const TRadioCard& card, const tPreset& preset);

// What a preset button shows.
struct tPresetButtonLook {
  std::string Caption;  // "01".."99", "00"
  std::string Glyph;    // "BT" + colour + "ON" / "OFF"
  std::string Hint;     // empty unless the preset is assigned
  bool operator==(const tPresetButtonLook&) const = default;
};

// One entry of the two "Presets" submenus.
struct tPresetMenuEntry {
  int Number = 0;
  std::string Caption;
  bool Checked = false;
  bool Enabled = false;
  bool operator==(const tPresetMenuEntry&) const = default;
};

// The entries of the button popup menu for the preset under a button.
struct tPresetPopup {
  bool Memory = false;
  bool Clear = false;
  bool Rename = false;
};

// What pressing a preset button did; Store means the window asks for a name and then calls
// Store with it.
enum class tPresetPress { Nothing, Cleared, Store, Recalled };

// Why the ask-name dialog opens: the tuned station goes into a preset, or a preset is renamed.
enum class tNaming { Store, Rename };

// The presets group of the front panel without widgets: pages, the MEM and CLR arming, storing,
// clearing, renaming and loading, and what the buttons and menus show. It works on the panel
// model's bank, card and state; the window binds its buttons and menus to it and redraws after
// each call.
class PresetsPanel {
 public:
  static constexpr int kPageCount = 10;
  static constexpr int kButtonsPerPage = 10;
  static inline const std::string kLoadQuestion =
      "If you load a new presets set, the\rcurrent presets will be erased.\rAre you sure ?";

  explicit PresetsPanel(PanelModel& model) : model_(model) {}

  // The preset under button 1..10 on the page shown.
  int PresetOnButton(int button) const;
  static int ButtonOf(int preset) { return (preset - 1) % kButtonsPerPage + 1; }

  // Some assigned preset holds exactly the card's frequency and band.
  bool IsTunedStationStored() const;

  // A preset button (or the same preset through a key or script) was pressed.
  tPresetPress Press(int n);
  // MEM and CLR; false when the press was ignored.
  bool ToggleMemory();
  bool ToggleClear();

  // The name the ask-name dialog opens with: the station's RDS name where the preset being
  // named is the station tuned (it goes into n now, or n holds it), else n's own name.
  std::string NameToOffer(int n, tNaming naming) const;
  // Stores the tuned station into n under the trimmed name and selects it.
  void Store(int n, std::string_view name);
  // Clears n; a current preset is let go and the card re-tuned on its band.
  void Clear(int n);
  // "Clear all" after the question; false when answered No.
  bool ClearAll(Prompter& prompts);
  // Renames an assigned preset; false when n is not one.
  bool Rename(int n, std::string_view name);
  // Selects n (tuning when tune is set) and shows its page; false when refused.
  bool Recall(int n, bool tune);

  // The row spin button; false when already on the first or last page.
  bool PreviousPage();
  bool NextPage();

  // "Load presets": the question, the file dialog and the messages; true when the bank was
  // replaced.
  bool LoadPresets(Prompter& prompts);
  const std::string& FileName() const { return fileName_; }
  void SetFileName(std::string name) { fileName_ = std::move(name); }
  // The presets group's hint: "Internal" until a file was loaded.
  std::string GroupHint() const;

  // What button 1..10 of the page shown looks like.
  tPresetButtonLook Button(int button) const;
  // Every assigned preset in number order, as both "Presets" submenus list it.
  std::vector<tPresetMenuEntry> MenuEntries() const;
  // Whether the card can tune a preset: its band, and an FM frequency within the FM limits.
  bool CanTune(const tPreset& preset) const;
  tPresetPopup Popup(int n) const;
  // The "Clear" and "Rename" commands act on the current preset.
  bool HasCurrent() const { return PresetsBank::IsPresetNumber(model_.State().CurrentPreset); }

 private:
  // Another preset than n holds the tuned station: storing into n would keep it twice.
  bool StoredElsewhere(int n) const;
  bool HoldsTunedStation(const tPreset& preset) const;
  // The card back on its band at its frequency, and no preset current.
  void LetGoOfCurrent();

  PanelModel& model_;
  std::string fileName_;
};

}  // namespace ondivo
