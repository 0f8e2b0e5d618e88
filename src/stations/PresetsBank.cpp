#include "stations/PresetsBank.h"

#include <utility>

namespace ondivo {

const tPreset& PresetsBank::Preset(int n) const {
  return IsPresetNumber(n) ? records_[static_cast<size_t>(n)] : records_[0];
}

bool PresetsBank::Store(int n, std::string name, double frequency, tBand band) {
  if (!IsPresetNumber(n)) return false;
  records_[static_cast<size_t>(n)] = tPreset{std::move(name), frequency, band, true};
  return true;
}

bool PresetsBank::Rename(int n, std::string name) {
  if (!IsPresetNumber(n)) return false;
  records_[static_cast<size_t>(n)].Name = std::move(name);
  return true;
}

void PresetsBank::Clear(int n) {
  if (IsPresetNumber(n)) records_[static_cast<size_t>(n)] = tPreset{};
}

void PresetsBank::ClearAll() {
  records_.fill(tPreset{});
}

int PresetsBank::AssignedCount() const {
  int count = 0;
  for (int n = 1; n <= kPresetCount; ++n) count += records_[static_cast<size_t>(n)].Assigned;
  return count;
}

}  // namespace ondivo
