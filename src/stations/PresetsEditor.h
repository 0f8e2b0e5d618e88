#pragma once

#include <array>
#include <string>
#include <string_view>

#include "platform/LocaleFormat.h"
#include "stations/PresetsBank.h"

namespace ondivo {

// Which controls of the edit-presets dialog take input.
struct tEditButtons {
  bool Insert = false, Delete = false, Clear = false, MoveUp = false, MoveDown = false;
  bool Listen = false;
  bool Ok = true, Save = true;  // off while two entries hold the same frequency
};

// The edit-presets dialog without widgets: a working copy of the hundred presets as a numbered
// list, the selected entry and the dialog's current preset, which follows its entry when
// entries move. The dialog binds its controls to it and redraws after each call.
class PresetsEditor {
 public:
  // The panel's bank, current preset and presets file name at opening ("" for the internal
  // bank). The copy is tidied: names trimmed, unassigned records plain.
  PresetsEditor(const PresetsBank& panelBank, int currentPreset, std::string fileName,
                LocaleFormat locale);

  const tPreset& Entry(int n) const;
  int Selected() const { return selected_; }
  int Current() const { return current_; }
  int Count() const { return count_; }
  bool Duplicated() const { return duplicated_; }
  const std::string& FileName() const { return fileName_; }
  // "Save" asks for a name first.
  bool Unnamed() const { return fileName_.empty(); }
  std::string Caption() const;

  // A row was selected.
  void Select(int n);
  // The name edit changed: an empty entry given a name becomes FM 87.0.
  void SetName(std::string_view name);
  // The tuner moved the selected entry (already on its band's grid); a frequency above 0 makes
  // an empty entry assigned with an empty name.
  void SetFrequency(tBand band, double mhz, bool assign);
  // Returns the selected entry to what the panel's bank holds.
  void Undo();
  void Insert();
  void Delete();
  void MoveUp();
  void MoveDown();
  void Clear();
  // "Clear all"/"New" and "Reload", after their questions.
  void ClearAll();
  void Reload();
  // A presets file was read: the list shows it and no preset is current.
  void Loaded(const PresetsBank& bank, std::string fileName);
  void Saved(std::string fileName) { fileName_ = std::move(fileName); }

  // Which controls take input; canListen says whether the card has the selected entry's band.
  tEditButtons Buttons(bool canListen) const;
  // The list as a bank: assigned entries only, for "Ok" and the presets file.
  PresetsBank Result() const;
  // Closing without "Ok" loses something: a preset of the panel differs in name (case and
  // blanks aside), assignment, band or stored frequency text.
  bool LosesChanges() const;

 private:
  using tEntries = std::array<tPreset, PresetsBank::kPresetCount + 1>;
  tPreset& At(int n) { return entries_[static_cast<size_t>(n)]; }
  void CheckDuplicates();
  void SwapSelectedWith(int other);
  static tEntries Tidy(const PresetsBank& bank);

  const PresetsBank& panel_;
  int panelCurrent_;
  LocaleFormat locale_;
  tEntries entries_{};
  int selected_ = 1;
  int current_ = 0;
  int count_ = 0;
  bool duplicated_ = false;
  std::string fileName_;
};

}  // namespace ondivo
