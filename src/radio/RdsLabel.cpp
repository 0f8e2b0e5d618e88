#include "radio/RdsLabel.h"

#include "radio/RdsDecoder.h"

namespace ondivo {

namespace {

std::string Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace

std::string StationNameToShow(std::string_view matchingPresetName, const RdsDecoder* rds) {
  if (!Trimmed(matchingPresetName).empty()) return std::string(matchingPresetName);
  return SuggestedPresetName(rds);
}

std::string StationHintToShow(const RdsDecoder* rds) {
  return rds ? Trimmed(rds->RadioText()) : std::string();
}

std::string SuggestedPresetName(const RdsDecoder* rds) {
  return rds ? Trimmed(rds->ProgramService()) : std::string();
}

std::string PresetNameToOffer(std::string_view presetName, const RdsDecoder* rds) {
  std::string name = SuggestedPresetName(rds);
  return name.empty() ? std::string(presetName) : name;
}

}  // namespace ondivo
