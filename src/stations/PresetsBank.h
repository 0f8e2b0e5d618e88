#pragma once

#include <array>
#include <string>

#include "radio/RadioTypes.h"

namespace ondivo {

// One stored station. An unassigned record has an empty name, frequency 0 and band FM.
struct tPreset {
  std::string Name;
  double Frequency = 0;  // MHz
  tBand Band = bFM;
  bool Assigned = false;

  bool operator==(const tPreset&) const = default;
};

// The hundred presets, addressed by preset number 1..100. Numbers outside that range never
// address a record: they read as an unassigned preset and writes to them are ignored.
class PresetsBank {
 public:
  static constexpr int kPresetCount = 100;
  static constexpr size_t kMaxNameLength = 40;  // characters, when entered or loaded

  static constexpr bool IsPresetNumber(int n) { return n >= 1 && n <= kPresetCount; }

  const tPreset& Preset(int n) const;
  // Makes n an assigned preset; false when n is not a preset number.
  bool Store(int n, std::string name, double frequency, tBand band);
  bool Rename(int n, std::string name);
  void Clear(int n);
  void ClearAll();

  int AssignedCount() const;

  bool operator==(const PresetsBank&) const = default;

 private:
  // Slot 0 is never used, so preset n is records_[n].
  std::array<tPreset, kPresetCount + 1> records_{};
};

}  // namespace ondivo
