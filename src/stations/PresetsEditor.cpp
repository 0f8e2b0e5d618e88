#include "stations/PresetsEditor.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "platform/AsciiText.h"
#include "stations/FrequencyText.h"

namespace ondivo {

namespace {

constexpr int kLast = PresetsBank::kPresetCount;
constexpr double kNamedEntryFrequency = 87.0;  // where an empty entry given a name starts

}  // namespace

PresetsEditor::PresetsEditor(const PresetsBank& panelBank, int currentPreset, std::string fileName,
                             LocaleFormat locale)
    : panel_(panelBank),
      panelCurrent_(currentPreset),
      locale_(locale),
      entries_(Tidy(panelBank)),
      current_(PresetsBank::IsPresetNumber(currentPreset) ? currentPreset : 0),
      fileName_(std::move(fileName)) {
  CheckDuplicates();
}

PresetsEditor::tEntries PresetsEditor::Tidy(const PresetsBank& bank) {
  tEntries entries{};
  for (int n = 1; n <= kLast; ++n) {
    const tPreset& p = bank.Preset(n);
    if (p.Assigned)
      entries[static_cast<size_t>(n)] = {std::string(TrimText(p.Name)), p.Frequency, p.Band, true};
  }
  return entries;
}

const tPreset& PresetsEditor::Entry(int n) const {
  return entries_[PresetsBank::IsPresetNumber(n) ? static_cast<size_t>(n) : 0];
}

std::string PresetsEditor::Caption() const {
  return "Edit presets - " + (fileName_.empty() ? std::string("Internal") : fileName_);
}

void PresetsEditor::Select(int n) {
  if (PresetsBank::IsPresetNumber(n)) selected_ = n;
  CheckDuplicates();
}

void PresetsEditor::SetName(std::string_view name) {
  tPreset& e = At(selected_);
  if (!e.Assigned && !name.empty()) e = {"", kNamedEntryFrequency, bFM, true};
  e.Name = std::string(name);
  CheckDuplicates();
}

void PresetsEditor::SetFrequency(tBand band, double mhz, bool assign) {
  tPreset& e = At(selected_);
  if (assign && !e.Assigned) e = {"", mhz, band, true};
  e.Frequency = mhz;
  e.Band = band;
  CheckDuplicates();
}

void PresetsEditor::Undo() {
  const tPreset& p = panel_.Preset(selected_);
  At(selected_) =
      p.Assigned ? tPreset{std::string(TrimText(p.Name)), p.Frequency, p.Band, true} : tPreset{};
  CheckDuplicates();
}

void PresetsEditor::Insert() {
  if (At(kLast).Assigned || selected_ >= kLast) return;
  const int k = selected_;
  std::move_backward(entries_.begin() + k, entries_.begin() + kLast, entries_.begin() + kLast + 1);
  At(k) = tPreset{};
  if (current_ >= k) ++current_;
  selected_ = k + 1;
  CheckDuplicates();
}

void PresetsEditor::Delete() {
  const int k = selected_;
  std::move(entries_.begin() + k + 1, entries_.end(), entries_.begin() + k);
  At(kLast) = tPreset{};
  if (current_ == k) {
    current_ = 0;
  } else if (current_ > k) {
    --current_;
  }
  CheckDuplicates();
}

void PresetsEditor::MoveUp() {
  if (selected_ > 1) SwapSelectedWith(selected_ - 1);
}

void PresetsEditor::MoveDown() {
  if (selected_ < kLast) SwapSelectedWith(selected_ + 1);
}

// The selection and the current preset go with their entries.
void PresetsEditor::SwapSelectedWith(int other) {
  std::swap(At(selected_), At(other));
  if (current_ == selected_) {
    current_ = other;
  } else if (current_ == other) {
    current_ = selected_;
  }
  selected_ = other;
  CheckDuplicates();
}

void PresetsEditor::Clear() {
  At(selected_) = tPreset{};
  if (current_ == selected_) current_ = 0;
  CheckDuplicates();
}

void PresetsEditor::ClearAll() {
  entries_.fill(tPreset{});
  current_ = 0;
  CheckDuplicates();
}

void PresetsEditor::Reload() {
  entries_ = Tidy(panel_);
  current_ = PresetsBank::IsPresetNumber(panelCurrent_) ? panelCurrent_ : 0;
  CheckDuplicates();
}

void PresetsEditor::Loaded(const PresetsBank& bank, std::string fileName) {
  entries_ = Tidy(bank);
  fileName_ = std::move(fileName);
  current_ = 0;
  selected_ = 1;
  CheckDuplicates();
}

void PresetsEditor::CheckDuplicates() {
  count_ = 0;
  duplicated_ = false;
  for (int n = 1; n <= kLast; ++n) {
    const tPreset& e = Entry(n);
    if (!e.Assigned) continue;
    ++count_;
    for (int m = 1; m < n && !duplicated_; ++m) {
      const tPreset& earlier = Entry(m);
      duplicated_ = earlier.Assigned && SameFrequency(earlier.Frequency, e.Frequency);
    }
  }
}

tEditButtons PresetsEditor::Buttons(bool canListen) const {
  tEditButtons b;
  const bool assigned = Entry(selected_).Assigned;
  b.Insert = !Entry(kLast).Assigned && selected_ != kLast && count_ > 0;
  b.Delete = count_ > 0;
  b.Clear = assigned;
  b.MoveUp = selected_ != 1;
  b.MoveDown = selected_ != kLast;
  b.Listen = assigned && canListen;
  b.Ok = b.Save = !duplicated_;
  return b;
}

PresetsBank PresetsEditor::Result() const {
  PresetsBank bank;
  for (int n = 1; n <= kLast; ++n) {
    const tPreset& e = Entry(n);
    if (e.Assigned) bank.Store(n, e.Name, e.Frequency, e.Band);
  }
  return bank;
}

bool PresetsEditor::LosesChanges() const {
  const auto key = [this](const tPreset& p) {
    return std::make_tuple(UpperCaseAscii(TrimText(p.Name)), p.Assigned, p.Band,
                           FormatFrequencyKey(p.Frequency, locale_));
  };
  for (int n = 1; n <= kLast; ++n) {
    const tPreset& before = panel_.Preset(n);
    if (!before.Assigned) continue;
    const tPreset& now = Entry(n);
    if (!now.Assigned || key(before) != key(now)) return true;
  }
  return false;
}

}  // namespace ondivo
